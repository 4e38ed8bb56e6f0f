#include "links/ContentsWalk.h"

#include "base/EngineTexts.h"
#include "djvu/PageListing.h"
#include "links/HyperlinkScript.h"
#include "links/ScriptEntryWriter.h"

#include <algorithm>

ContentsWalk::ContentsWalk(const PageListing& listing, int firstPage, int lastPage,
                           const EntryRecognition::Settings& settings, QByteArray shape,
                           QByteArray border, HyperlinkScript& script)
    : listing_(listing), firstPage_(firstPage), lastPage_(lastPage), kind_(settings.kind),
      recognition_(settings),
      ownWriter_(std::make_unique<ScriptEntryWriter>(script, std::move(shape), std::move(border))),
      writer_(*ownWriter_)
{
}

ContentsWalk::ContentsWalk(const PageListing& listing, int firstPage, int lastPage,
                           const EntryRecognition::Settings& settings, EntryWriter& writer)
    : listing_(listing), firstPage_(firstPage), lastPage_(lastPage), kind_(settings.kind),
      recognition_(settings), writer_(writer)
{
}

ContentsWalk::~ContentsWalk() = default;

QString ContentsWalk::describe(const PageReport& report, int pageCount)
{
    const EntryRecognition::Tally& t = report.tally;
    QString text = EngineTexts::say("e_walk_page").arg(report.page);
    if (t.made > 0)
        text +=
            (t.made == 1 ? EngineTexts::say("e_walk_made_one") : EngineTexts::say("e_walk_made"))
                .arg(t.made);
    else
        text += EngineTexts::say("e_walk_none");
    if (t.skipped() == 0)
        return text + QLatin1Char('.');
    QStringList why;
    if (t.beforeFirstPage > 0)
        why << EngineTexts::say("e_walk_before").arg(t.beforeFirstPage);
    if (t.beyondLastPage > 0)
        why << EngineTexts::say("e_walk_past").arg(t.beyondLastPage).arg(pageCount);
    if (t.fallingNumber > 0)
        why << EngineTexts::say("e_walk_falling").arg(t.fallingNumber);
    if (t.outsidePage > 0)
        why << EngineTexts::say("e_walk_outside").arg(t.outsidePage);
    return text + (t.skipped() == 1 ? EngineTexts::say("e_walk_skipped_one")
                                    : EngineTexts::say("e_walk_skipped"))
                      .arg(t.skipped())
                      .arg(why.join(QStringLiteral(", ")));
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

bool ContentsWalk::beginPage(int pageNumber)
{
    const bool ok = !havePending_ || process(pending_, false);
    havePending_ = false;
    openPosition(pageNumber);
    return ok;
}

bool ContentsWalk::finish()
{
    bool ok = true;
    if (havePending_)
        ok = process(pending_, false);
    havePending_ = false;
    closePage();
    writer_.finish();
    return ok;
}

void ContentsWalk::closePage()
{
    if (inRange_)
        reports_.append({position_, recognition_.takeTally()});
}

void ContentsWalk::openPage(const PageSelection& selection)
{
    // Pages without text are missing from the dump, so its order says nothing: the
    // identifier finds the page in the listing, the page number of today's dump helps
    // where an identifier could not be read back.
    int position = listing_.positionOf(selection.identifier);
    if (position == 0)
        position = selection.pageNumber;
    openPosition(position);
}

void ContentsWalk::openPosition(int position)
{
    closePage();
    recognition_.startPage();
    previousLineTop_ = 0;
    lineTop_ = 0;
    ++ordinal_;
    entryWords_.clear();
    lineWords_.clear();
    inRange_ = position != 0 && position >= firstPage_ && position <= lastPage_;
    position_ = position;
    writer_.page(position, inRange_);
    if (inRange_)
        ++contentsPagesSeen_;
}

PlanEntry ContentsWalk::entryOf(const EntryRecognition::Area& area,
                                const EntryRecognition::Word& word, const QByteArray& rawText) const
{
    PlanEntry entry;
    entry.contentsPage = position_;
    entry.words = entryWords_;
    // The title is what stands before the number on its line: the earlier words since the
    // last entry, and the part of the number's own word before a tab that glued them.
    QStringList title = lineWords_.mid(0, lineWords_.size() - 1);
    const QString own = TextDump::unescape(rawText);
    const qsizetype tab = own.lastIndexOf(QLatin1Char('\t'));
    if (tab > 0)
        title << own.left(tab).replace(QLatin1Char('\t'), QLatin1Char(' ')).simplified();
    entry.title = title.join(QLatin1Char(' '));
    entry.printed = area.printed;
    entry.targetPage = area.targetPage;
    entry.area = area.box;
    entry.comment = area.comment;
    entry.numberBox = word.box;
    return entry;
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
        lineWords_.clear();
        previousLineTop_ = lineTop_;
        lineTop_ = box.ymax;
        zone_ = box;
        return true;
    }
    if (malformed) {
        error_ = EngineTexts::say("e_walk_bad_line").arg(QString::fromLatin1(line.trimmed()));
        return false;
    }
    if (!TextDump::isWordRecord(line))
        return true;

    const QByteArray raw = line;
    const int glued = TextDump::normaliseTabs(&line);
    wordsInLine_ = std::min(wordsInLine_ + glued, 255);
    QByteArray text;
    if (!TextDump::parseWordRecord(line, &box, &text, &malformed)) {
        if (!malformed)
            return true;
        error_ = EngineTexts::say("e_walk_bad_word").arg(QString::fromLatin1(line.trimmed()));
        return false;
    }
    QByteArray rawText;
    {
        ZoneBox unused;
        bool unusedMalformed = false;
        TextDump::parseWordRecord(raw, &unused, &rawText, &unusedMalformed);
    }
    const QString readable = TextDump::unescape(rawText);
    entryWords_ << readable;
    lineWords_ << readable;
    if (kind_ == WorkKind::Index2) {
        wordsInLine_ = 0;
        zone_ = box;
    }
    wordsInLine_ = std::min(wordsInLine_ + 1, 255);

    EntryRecognition::Word word;
    word.text = text;
    word.zone = zone_;
    word.box = box;
    word.previousLineTop = previousLineTop_;
    word.wordsInLine = wordsInLine_;
    word.pageOrdinal = ordinal_;
    word.lastOfLine = !nextIsWord;
    const QList<EntryRecognition::Area> areas = recognition_.examine(word);
    for (const EntryRecognition::Area& area : areas) {
        writer_.entry(entryOf(area, word, rawText));
        ++areasWritten_;
    }
    if (!areas.isEmpty()) {
        entryWords_.clear();
        lineWords_.clear();
    }
    return true;
}
