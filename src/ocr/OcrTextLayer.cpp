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
    SafeChange change(documentPath, &tools_);
    QString error;
    if (!change.prepare(&error)) {
        fail(error);
        return SaveOutcome::Failed;
    }
    // The XML names the working copy: djvuxmlparser changes the document its OBJECT
    // elements name. For an indirect document that is the index copy, and the tool
    // rewrites the page files beside it.
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
