#include "ocr/OcrTextLayer.h"
#include "base/EngineTexts.h"

#include "djvu/BookGuard.h"
#include "djvu/DjvuFileCheck.h"
#include "djvu/DjvusedDump.h"
#include "djvu/PageTexts.h"
#include "djvu/SafeChange.h"
#include "djvu/TextDump.h"
#include "djvu/ToolRunner.h"
#include "ocr/OcrDocument.h"
#include "ocr/TextLayerReader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

const QString kDump = QStringLiteral("01.xml");
const QString kChanges = QStringLiteral("02.xml");
const QString kScript = QStringLiteral("02.dsed");
const QString kDjvused = QStringLiteral("djvused");

} // namespace

OcrTextLayer::OcrTextLayer(ToolRunner& tools) : tools_(tools) {}

OcrTextLayer::~OcrTextLayer() = default;

bool OcrTextLayer::parseRoute(const QString& name, Route* route)
{
    if (name != QLatin1String("djvused") && name != QLatin1String("xml"))
        return false;
    *route = name == QLatin1String("xml") ? Route::Xml : Route::Djvused;
    return true;
}

bool OcrTextLayer::guard(const QString& documentPath)
{
    if (guard_ && guard_->path() == QFileInfo(BookGuard::realFile(documentPath)).absoluteFilePath())
        return true;
    guard_ = std::make_unique<BookGuard>(documentPath, &tools_);
    QString error;
    if (guard_->open(&error))
        return true;
    guard_.reset();
    return fail(error);
}

bool OcrTextLayer::fail(const QString& error, bool shown)
{
    error_ = error;
    errorShown_ = shown;
    return false;
}

bool OcrTextLayer::dump(const QString& documentPath, OcrDocument& into)
{
    return read(documentPath, &into, {}, nullptr);
}

bool OcrTextLayer::readPages(const QString& documentPath, const PageSink& onPage, int* pageCount)
{
    return read(documentPath, nullptr, onPage, pageCount);
}

bool OcrTextLayer::read(const QString& documentPath, OcrDocument* into, const PageSink& onPage,
                        int* pageCount)
{
    error_.clear();
    errorShown_ = false;
    if (!guard(documentPath))
        return false;
    state_ = guard_->files();
    if (!QFileInfo(documentPath).isFile())
        return fail(DjvuFileCheck::notAFile(documentPath));
    // djvused reads a book cut short as far as it goes and may still exit 0.
    if (QString unreadable; !DjvuFileCheck::isReadable(documentPath, &unreadable))
        return fail(unreadable);
    bool fallBack = route_ == Route::Xml;
    if (!fallBack && dumpText(documentPath, into, onPage, pageCount, &fallBack))
        return true;
    OcrDocument whole;
    OcrDocument& document = into ? *into : whole;
    if (!fallBack || !dumpXml(documentPath, document))
        return false;
    // The XML tools cut spaces and tabs at the ends of a word: a word that is only a tab
    // would be saved empty. djvused's own form keeps them, so such a book takes that route.
    if (route_ == Route::Xml && edgeSpaces(document)) {
        bool xmlNeeded = false;
        OcrDocument plain;
        if (dumpText(documentPath, into ? &plain : nullptr, onPage, pageCount, &xmlNeeded)) {
            if (into)
                *into = std::move(plain);
            return true;
        }
        if (!xmlNeeded)
            return false;
        error_.clear(); // neither form carries every word; the XML reading stands
    }
    if (!into) {
        *pageCount = document.pageCount();
        for (int number = 1; number <= *pageCount; ++number)
            onPage(number, document.page(number));
    }
    return true;
}

bool OcrTextLayer::edgeSpaces(const OcrDocument& document)
{
    for (int number = 1; number <= document.pageCount(); ++number) {
        const QStringList words = document.words(number);
        if (std::any_of(words.begin(), words.end(),
                        [](const QString& word) { return word != word.trimmed(); }))
            return true;
    }
    return false;
}

bool OcrTextLayer::countPages(const QString& documentPath, int* count)
{
    const ToolRun run = tools_.capture(kDjvused, {QFileInfo(documentPath).absoluteFilePath(),
                                                  QStringLiteral("-e"), QStringLiteral("n")});
    if (!run.succeeded())
        return fail(run.failureText(), !run.started);
    bool ok = false;
    *count = run.standardOutput.trimmed().toInt(&ok);
    if (!ok || *count < 0)
        return fail(EngineTexts::say("e_ocr_no_count").arg(documentPath));
    return true;
}

bool OcrTextLayer::dumpText(const QString& documentPath, OcrDocument* into, const PageSink& onPage,
                            int* pageCount, bool* fallBack)
{
    *fallBack = false;
    // One run: the number of pages on the first line, then the text of the pages that have one,
    // read page by page while djvused prints it.
    TextLayerReader reader;
    if (!into)
        reader.setPageSink(onPage);
    const ToolRun run = tools_.stream(kDjvused,
                                      {QFileInfo(documentPath).absoluteFilePath(),
                                       QStringLiteral("-e"), QStringLiteral("n; output-txt")},
                                      [&reader](QByteArrayView piece) { reader.feed(piece); });
    if (!run.succeeded())
        return fail(run.failureText(), !run.started);
    switch (reader.finish()) {
    case TextLayerReader::Outcome::NoCount:
        return fail(EngineTexts::say("e_ocr_no_count").arg(documentPath));
    case TextLayerReader::Outcome::Faulty:
        return fail(EngineTexts::say("e_ocr_text_bad").arg(documentPath, reader.error()));
    case TextLayerReader::Outcome::FallBack:
        // A release that does not name the page of each block leaves the pages to the XML route.
        *fallBack = true;
        return reader.error().isEmpty() ? false : fail(reader.error());
    case TextLayerReader::Outcome::Read:
        break;
    }
    if (into)
        reader.takeInto(*into);
    else
        *pageCount = reader.pageCount();
    return true;
}

bool OcrTextLayer::dumpPage(const QString& documentPath, int number, OcrDocument& into,
                            int* pageCount)
{
    error_.clear();
    errorShown_ = false;
    if (!guard(documentPath))
        return false;
    state_ = guard_->files();
    if (!QFileInfo(documentPath).isFile())
        return fail(DjvuFileCheck::notAFile(documentPath));
    // djvused reads a book cut short as far as it goes and may still exit 0.
    if (QString unreadable; !DjvuFileCheck::isReadable(documentPath, &unreadable))
        return fail(unreadable);
    if (!countPages(documentPath, pageCount))
        return false;
    QString error;
    if (*pageCount == 0)
        return into.setPageExpressions({}, &error);
    if (number < 1 || number > *pageCount)
        return fail(EngineTexts::say("e_ocr_no_such_page").arg(documentPath).arg(number));
    const QList<int> asked{number};
    const ToolRun run =
        tools_.capture(kDjvused, {QFileInfo(documentPath).absoluteFilePath(), QStringLiteral("-e"),
                                  PageTexts::commands(asked)});
    if (!run.succeeded())
        return fail(run.failureText(), !run.started);
    const PageTexts texts = PageTexts::parse(run.standardOutput, asked);
    if (!texts.ok())
        return fail(texts.error);
    if (!into.setPageExpressions({texts.pages.first().text}, &error))
        return fail(error);
    return true;
}

bool OcrTextLayer::dumpXml(const QString& documentPath, OcrDocument& into)
{
    const QFileInfo document(documentPath);
    const QString dumpPath = tools_.workPath(kDump);
    QFile::remove(dumpPath);
    const ToolRun run =
        tools_.discard(QStringLiteral("djvutoxml"), {document.absoluteFilePath(), kDump});
    if (!run.succeeded())
        return fail(run.failureText(), !run.started);
    if (!QFileInfo::exists(dumpPath))
        return fail(EngineTexts::say("e_ocr_no_dump").arg(documentPath));
    QString error;
    if (!into.load(dumpPath, &error))
        return fail(error);
    return true;
}

OcrTextLayer::SaveOutcome OcrTextLayer::save(OcrDocument& document, const QString& documentPath,
                                             const BookGuard::Files* asRead)
{
    error_.clear();
    errorShown_ = false;
    if (document.changedPages().isEmpty())
        return SaveOutcome::NothingChanged;
    if (!guard(documentPath))
        return SaveOutcome::Failed;
    // The book is free again once this save is over, whatever its outcome.
    const std::unique_ptr<BookGuard> held = std::move(guard_);
    if (asRead && held->files() != *asRead) {
        fail(EngineTexts::say("e_ocr_changed_since").arg(QDir::toNativeSeparators(documentPath)));
        return SaveOutcome::ChangedSinceRead;
    }
    // djvuxmlparser has been seen to finish cleanly without writing a page of an indirect
    // document. The words are read back from the working copy before it replaces the
    // original; a page left unwritten gets one more run on a fresh copy.
    constexpr int kAttempts = 2;
    for (int attempt = 1;; ++attempt) {
        SafeChange change(documentPath, &tools_, held.get());
        change.setBackups(backups_);
        const bool written = document.format() == OcrDocument::Format::Djvused
                                 ? setPages(document, change)
                                 : writeChanges(document, change);
        if (!written)
            return SaveOutcome::Failed;
        int unwritten = 0;
        if (!readBack(document, change.workingCopy(), &unwritten))
            return SaveOutcome::Failed;
        if (unwritten != 0) {
            if (attempt < kAttempts)
                continue;
            fail(EngineTexts::say("e_ocr_parser_page").arg(unwritten));
            return SaveOutcome::Failed;
        }
        QString error;
        if (!change.commit(&error)) {
            fail(error);
            return SaveOutcome::Failed;
        }
        document.markSaved();
        state_ = held->files();
        return SaveOutcome::Saved;
    }
}

bool OcrTextLayer::writeChanges(const OcrDocument& document, SafeChange& change)
{
    QString error;
    if (!change.prepare(&error))
        return fail(error);
    // The XML names the working copy: djvuxmlparser changes the document its OBJECT
    // elements name. For an indirect document that is the index copy, and the tool
    // rewrites the page files beside it.
    QFile xml(tools_.workPath(kChanges));
    if (!xml.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        xml.write(document.changesXml(change.workingCopy())) < 0 || !xml.flush())
        return fail(EngineTexts::say("e_ocr_no_write").arg(xml.fileName(), xml.errorString()));
    xml.close();
    const ToolRun run = tools_.discard(QStringLiteral("djvuxmlparser"), {kChanges});
    if (!run.clean())
        return fail(run.failureText().isEmpty() ? EngineTexts::say("e_ocr_parser_failed")
                                                : run.failureText(),
                    !run.started);
    return true;
}

bool OcrTextLayer::setPages(const OcrDocument& document, SafeChange& change)
{
    QString error;
    if (!change.prepare(&error) || !tools_.writeWorkFile(kScript, document.changesScript(), &error))
        return fail(error);
    const ToolRun run = tools_.discard(
        kDjvused, {change.workingCopy(), QStringLiteral("-s"), QStringLiteral("-f"), kScript});
    if (!run.clean())
        return fail(run.failureText().isEmpty() ? EngineTexts::say("e_ocr_djvused_failed")
                                                : run.failureText(),
                    !run.started);
    return true;
}

bool OcrTextLayer::readBack(const OcrDocument& document, const QString& copy, int* unwritten)
{
    *unwritten = 0;
    const QList<int> pages = document.changedPages();
    QStringList script;
    for (int number : pages)
        script << QStringLiteral("select %1").arg(number) << QStringLiteral("print-txt");
    const ToolRun run =
        tools_.capture(QStringLiteral("djvused"), {copy, QStringLiteral("-e"), script.join(u';')});
    if (!run.succeeded())
        return fail(run.failureText(), !run.started);
    // print-txt prints each page as one expression that opens with "(page"; a cut one
    // is no proof of anything.
    const QString cut = DjvusedDump::dataError(run.standardOutput);
    if (!cut.isEmpty())
        return fail(EngineTexts::say("e_ocr_copy_bad").arg(cut));
    QList<QStringList> found;
    const QList<QByteArray> lines = run.standardOutput.split('\n');
    for (QByteArray line : lines) {
        line = line.trimmed();
        if (line.startsWith("(page"))
            found.append(QStringList());
        QByteArray text;
        ZoneBox box;
        bool malformed = false;
        if (!found.isEmpty() && TextDump::parseWordRecord(line, &box, &text, &malformed))
            found.last() << TextDump::unescape(text).trimmed();
    }
    for (qsizetype i = 0; i < pages.size(); ++i) {
        QStringList expected = document.words(pages[i]);
        for (QString& word : expected)
            word = word.trimmed();
        if (i >= found.size() || found[i] != expected) {
            *unwritten = pages[i];
            break;
        }
    }
    return true;
}
