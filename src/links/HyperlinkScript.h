#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>

// The djvused script that puts the new hyperlinks into a document. Lines end in CR LF.
// Pages are selected by their page number, never by their identifier: an identifier is
// data from the document and could carry quotes and djvused commands.
//
// Every page gets at most one set-ant block, since each block replaces what its page had:
// a contents page with entries gets its entry areas (and the contents link when it is one
// of its pages); a contents page without entries gets no block and keeps what it has; every
// other page of the contents link gets the annotations it keeps and the contents link.
class HyperlinkScript
{
public:
    static const QByteArray kSeparator; // "# -------------------------------------"

    // "select; remove-txt": the text layer of the whole document goes.
    void removeText();
    // The contents link goes on this page; its block is written when the script closes.
    void addContentsLink(int pageNumber, const QByteArray& area);
    // The annotations the page has now and keeps beside the contents link, one balanced
    // expression each, on one line.
    void keepAnnotations(int pageNumber, const QList<QByteArray>& expressions);

    // Called at each page of the text dump, before the new page is counted: ends the line
    // of areas of the page left (if any page was open) and closes its block when it was a
    // contents page.
    void pageBoundary(bool anyPageOpen, bool leavingContentsPage);
    // Opens the block of a contents page; it is written only once it holds an area.
    void pageOpening(int pageNumber);
    // Areas of one contents page all stand on one line, each ending in a blank.
    void area(const QByteArray& text);
    // After the walk: closes the last block when the dump ended on a contents page, then
    // writes the blocks of the contents link on the pages not written yet.
    void closing(bool endedOnContentsPage);

    const QByteArray& text() const { return text_; }
    bool isEmpty() const { return text_.isEmpty(); }
    // Blocks that carry the contents link, written so far.
    int contentsLinkCount() const { return contentsLinksWritten_; }

private:
    void line(const QByteArray& text);
    void closeContentsBlock();
    void contentsLinkLine(int pageNumber);

    QByteArray text_;
    QByteArray pending_; // the block of the open contents page
    int pendingPage_ = 0;
    int pendingAreas_ = 0;
    QMap<int, QByteArray> contentsLinks_; // page number: its contents-link area
    QMap<int, QList<QByteArray>> kept_;
    int contentsLinksWritten_ = 0;
};
