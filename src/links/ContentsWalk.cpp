#include "links/ContentsWalk.h"

#include "links/HyperlinkScript.h"
#include "links/PageListing.h"

#include <algorithm>

ContentsWalk::ContentsWalk(const PageListing& listing, int firstPage, int lastPage,
                           const EntryRecognition::Settings& settings, QByteArray shape,
                           QByteArray border, HyperlinkScript& script)
    : listing_(listing), firstPage_(firstPage), lastPage_(lastPage), kind_(settings.kind),
      recognition_(settings), shape_(std::move(shape)), border_(std::move(border)), script_(script)
{
}

namespace {

QString count(int n, const char* one, const char* many)
{
    return QString::number(n) + QLatin1Char(' ') + QLatin1String(n == 1 ? one : many);
}

} // namespace

QString ContentsWalk::describe(const PageReport& report, int pageCount)
{
    const EntryRecognition::Tally& t = report.tally;
    QString text = QStringLiteral("Page %1: ").arg(report.page);
    if (t.made > 0)
        text += count(t.made, "link", "links") + QStringLiteral(" made");
    else
        text += QStringLiteral("no link made; the page keeps the links it had");
    if (t.skipped() == 0)
        return text + QLatin1Char('.');
    QStringList why;
    if (t.beforeFirstPage > 0)
        why << QString::number(t.beforeFirstPage) + QStringLiteral(" with a target before page 1");
    if (t.beyondLastPage > 0)
        why << QStringLiteral("%1 with a target past page %2").arg(t.beyondLastPage).arg(pageCount);
    if (t.fallingNumber > 0)
        why << QString::number(t.fallingNumber) +
                   QStringLiteral(" with a number smaller than the entry above");
    if (t.outsidePage > 0)
        why << QString::number(t.outsidePage) + QStringLiteral(" with an area outside the page");
    return text + QStringLiteral(", ") + count(t.skipped(), "entry", "entries") +
           QStringLiteral(" skipped (") + why.join(QStringLiteral(", ")) + QStringLiteral(").");
}

bool ContentsWalk::feed(const QByteArray& line)
{
    // A word is the last of its text line when the record after it is not a word, so
    // each line is handled once the next one is known.
    bool ok = true;
    if (havePending_)
        ok = process(pending_, TextDump::isWordRecord(line));
    pending_ = line;
    havePending_ = true;
    return ok;
}

bool ContentsWalk::finish()
{
    bool ok = true;
    if (havePending_)
        ok = process(pending_, false);
    havePending_ = false;
    closePage();
    script_.closing(inRange_);
    return ok;
}

void ContentsWalk::closePage()
{
    if (inRange_)
        reports_.append({position_, recognition_.takeTally()});
}

void ContentsWalk::openPage(const PageSelection& selection)
{
    closePage();
    recognition_.startPage();
    script_.pageBoundary(ordinal_ != 0, inRange_);
    previousLineTop_ = 0;
    lineTop_ = 0;
    ++ordinal_;
    // Pages without text are missing from the dump, so its order says nothing: the
    // identifier finds the page in the listing, the page number of today's dump helps
    // where an identifier could not be read back.
    int position = listing_.positionOf(selection.identifier);
    if (position == 0)
        position = selection.pageNumber;
    inRange_ = position != 0 && position >= firstPage_ && position <= lastPage_;
    position_ = position;
    if (inRange_) {
        ++contentsPagesSeen_;
        script_.pageOpening(position);
    }
}

bool ContentsWalk::process(QByteArray line, bool nextIsWord)
{
    PageSelection selection;
    if (TextDump::parsePageSelection(line, &selection)) {
        openPage(selection);
        return true;
    }
    if (!inRange_)
        return true;

    bool malformed = false;
    ZoneBox box;
    if (TextDump::parsePageRecord(line, &box)) {
        recognition_.setPageBox(box);
        return true;
    }
    if (TextDump::parseLineRecord(line, &box, &malformed)) {
        wordsInLine_ = 0;
        previousLineTop_ = lineTop_;
        lineTop_ = box.ymax;
        zone_ = box;
        return true;
    }
    if (malformed) {
        error_ = QStringLiteral("Unreadable line record in the text layer: %1")
                     .arg(QString::fromLatin1(line.trimmed()));
        return false;
    }
    if (!TextDump::isWordRecord(line))
        return true;

    const int glued = TextDump::normaliseTabs(&line);
    wordsInLine_ = std::min(wordsInLine_ + glued, 255);
    QByteArray text;
    if (!TextDump::parseWordRecord(line, &box, &text, &malformed)) {
        if (!malformed)
            return true;
        error_ = QStringLiteral("Unreadable word record in the text layer: %1")
                     .arg(QString::fromLatin1(line.trimmed()));
        return false;
    }
    if (kind_ == EntryRecognition::Index2) {
        wordsInLine_ = 0;
        zone_ = box;
    }
    wordsInLine_ = std::min(wordsInLine_ + 1, 255);

    EntryRecognition::Word word;
    word.text = text;
    word.zone = zone_;
    word.previousLineTop = previousLineTop_;
    word.wordsInLine = wordsInLine_;
    word.pageOrdinal = ordinal_;
    word.lastOfLine = !nextIsWord;
    const QList<EntryRecognition::Area> areas = recognition_.examine(word);
    for (const EntryRecognition::Area& area : areas) {
        script_.area(
            BorderExpression::area(area.targetPage, area.comment, shape_, area.box, border_));
        ++areasWritten_;
    }
    return true;
}
