#include "ocr/OcrTextLayer.h"

#include "ocr/OcrDocument.h"
#include "tools/SafeChange.h"
#include "tools/ToolRunner.h"

#include <QFile>
#include <QFileInfo>

namespace {

const QString kDump = QStringLiteral("01.xml");
const QString kChanges = QStringLiteral("02.xml");

} // namespace

bool OcrTextLayer::fail(const QString& error, bool shown)
{
    error_ = error;
    errorShown_ = shown;
    return false;
}

bool OcrTextLayer::dump(const QString& documentPath, OcrDocument& into)
{
    error_.clear();
    errorShown_ = false;
    const QFileInfo document(documentPath);
    if (!document.isFile())
        return fail(QStringLiteral("The file %1 does not exist.").arg(documentPath));
    const QString dumpPath = tools_.workPath(kDump);
    QFile::remove(dumpPath);
    const ToolRun run =
        tools_.discard(QStringLiteral("djvutoxml"), {document.absoluteFilePath(), kDump});
    if (!run.succeeded())
        return fail(run.failureText(), !run.started);
    if (!QFileInfo::exists(dumpPath))
        return fail(QStringLiteral("djvutoxml wrote no text dump for %1.").arg(documentPath));
    QString error;
    if (!into.load(dumpPath, &error))
        return fail(error);
    return true;
}

OcrTextLayer::SaveOutcome OcrTextLayer::save(OcrDocument& document, const QString& documentPath)
{
    error_.clear();
    errorShown_ = false;
    if (document.changedPages().isEmpty())
        return SaveOutcome::NothingChanged;
    if (isIndirect(documentPath)) {
        fail(QStringLiteral("%1 is an indirect document (its pages are separate files); its "
                            "text layer cannot be changed safely. Bundle it first (djvmcvt -b).")
                 .arg(documentPath));
        return SaveOutcome::Failed;
    }
    SafeChange change(documentPath);
    QString error;
    if (!change.prepare(&error)) {
        fail(error);
        return SaveOutcome::Failed;
    }
    // The XML names the working copy: djvuxmlparser changes the document its OBJECT
    // elements name.
    QFile xml(tools_.workPath(kChanges));
    if (!xml.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        xml.write(document.changesXml(change.workingCopy())) < 0 || !xml.flush()) {
        fail(QStringLiteral("Cannot write %1: %2").arg(xml.fileName(), xml.errorString()));
        return SaveOutcome::Failed;
    }
    xml.close();
    const ToolRun run = tools_.discard(QStringLiteral("djvuxmlparser"), {kChanges});
    if (!run.clean()) {
        fail(run.failureText().isEmpty() ? QStringLiteral("djvuxmlparser failed.")
                                         : run.failureText(),
             !run.started);
        return SaveOutcome::Failed;
    }
    if (!change.commit(&error)) {
        fail(error);
        return SaveOutcome::Failed;
    }
    document.markSaved();
    return SaveOutcome::Saved;
}

bool OcrTextLayer::isIndirect(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(25);
    // AT&T FORM:DJVM whose first chunk, the directory, lacks the "bundled" flag.
    return head.size() == 25 && head.startsWith("AT&TFORM") && head.mid(12, 8) == "DJVMDIRM" &&
           (static_cast<unsigned char>(head[24]) & 0x80) == 0;
}
