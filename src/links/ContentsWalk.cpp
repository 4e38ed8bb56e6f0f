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
    script_.closing(inRange_);
    return ok;
}

void ContentsWalk::openPage(const PageSelection& selection)
{
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
