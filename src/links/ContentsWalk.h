#pragma once

#include "djvu/TextDump.h"
#include "links/ContentsPlan.h"
#include "reading/EntryRecognition.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>

class EntryWriter;
class HyperlinkScript;
class PageListing;

// Walks the text layer record by record, finds the pages of the contents range, keeps the
// line and zone boxes, hands every word of a contents page to entry recognition and the
// entries it finds to a writer. Fed one line at a time: either a whole text dump, whose
// page-selection lines say where each page starts, or the text of single pages, each
// started by beginPage().
class ContentsWalk
{
public:
    // firstPage, lastPage: the contents range as listing positions.
    // shape: "rect" or "oval"; border: the file's border expression.
    ContentsWalk(const PageListing& listing, int firstPage, int lastPage,
                 const EntryRecognition::Settings& settings, QByteArray shape, QByteArray border,
                 HyperlinkScript& script);
    ContentsWalk(const PageListing& listing, int firstPage, int lastPage,
                 const EntryRecognition::Settings& settings, EntryWriter& writer);
    ~ContentsWalk();

    // The text of page pageNumber follows; false when the last line before it does not read.
    bool beginPage(int pageNumber);

    // false on a record whose numbers do not read; error() says which.
    bool feed(const QByteArray& line);
    bool finish();

    QString error() const { return error_; }
    int contentsPagesSeen() const { return contentsPagesSeen_; }
    int areasWritten() const { return areasWritten_; }

    // What the walk made of each contents page it met, in dump order.
    struct PageReport
    {
        int page = 0; // listing position
        EntryRecognition::Tally tally;
    };
    const QList<PageReport>& pageReports() const { return reports_; }
    // "Page 3: 12 links made, 2 entries skipped (2 with a target past page 48)."
    static QString describe(const PageReport& report, int pageCount);

private:
    bool process(QByteArray line, bool nextIsWord);
    void openPage(const PageSelection& selection);
    void openPosition(int position);
    void closePage();
    PlanEntry entryOf(const EntryRecognition::Area& area, const EntryRecognition::Word& word,
                      const QByteArray& rawText) const;

    const PageListing& listing_;
    int firstPage_;
    int lastPage_;
    WorkKind kind_;
    EntryRecognition recognition_;
    std::unique_ptr<EntryWriter> ownWriter_;
    EntryWriter& writer_;

    QByteArray pending_;
    bool havePending_ = false;

    int ordinal_ = 0;      // pages of the dump met so far
    bool inRange_ = false; // the current page is a contents page
    ZoneBox zone_;
    int lineTop_ = 0;
    int previousLineTop_ = 0;
    int wordsInLine_ = 0;
    int contentsPagesSeen_ = 0;
    int areasWritten_ = 0;
    int position_ = 0;       // listing position of the current page
    QStringList entryWords_; // readable words of the lines since the last entry of the page
    QStringList lineWords_;  // of the current line since the last entry
    QList<PageReport> reports_;
    QString error_;
};
