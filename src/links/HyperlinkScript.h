#pragma once

#include <QByteArray>

// The djvused script that puts the new hyperlinks into a document. Lines end in CR LF.
// Pages are selected by their page number, never by their identifier: an identifier is
// data from the document and could carry quotes and djvused commands.
class HyperlinkScript
{
public:
    static const QByteArray kSeparator; // "# -------------------------------------"

    // "select; remove-txt": the text layer of the whole document goes.
    void removeText();
    // A block that replaces the annotations of one page by the contents link.
    void contentsLinkBlock(int pageNumber, const QByteArray& area);

    // Called at each page of the text dump, before the new page is counted: ends the line
    // of areas of the page left (if any page was open) and closes its block when it was a
    // contents page.
    void pageBoundary(bool anyPageOpen, bool leavingContentsPage);
    // Opens the block of a contents page.
    void pageOpening(int pageNumber);
    // Areas of one contents page all stand on one line, each ending in a blank.
    void area(const QByteArray& text);
    // After the walk: closes the last block when the dump ended on a contents page.
    void closing(bool endedOnContentsPage);

    const QByteArray& text() const { return text_; }
    bool isEmpty() const { return text_.isEmpty(); }

private:
    void line(const QByteArray& text);
    QByteArray text_;
};
