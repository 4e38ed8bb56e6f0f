#pragma once

#include "reading/HeadingMatch.h"
#include "reading/PageNumberMap.h"
#include "reading/PageText.h"
#include "reading/PrintedNumber.h"

#include <QHash>
#include <QSet>
#include <QStringList>

#include <optional>

// The pages of a book as the smart reading searches them: each page's text read once from
// the source, its body lines in comparable form, and the number it prints in its margin.
class BookPages
{
public:
    explicit BookPages(PageTextSource& source) : source_(source) {}

    int pageCount() const { return source_.pageCount(); }
    const PageText& text(int page);
    PrintedNumber folio(int page);

    // A heading key of a title: its numbering and first words in comparable form; empty
    // when the title is too short to be told apart from ordinary text.
    static QStringList headingKey(const QStringList& comparableTitle);
    // The pages from `from` to `to`, those in `skip` aside, that carry the title's heading
    // (HeadingMatch): never in a running head or footer.
    QList<int> pagesWithHeading(const QStringList& comparableTitle, int from, int to,
                                const QSet<int>& skip);
    // Has the source read the pages as well as it can (see PageTextSource::complete) before
    // they are searched.
    void complete(const QList<int>& pages);
    void complete(int from, int to);

    // The printed page numbers of the whole book, read from every page the first time.
    const PageNumberMap& numbers();

private:
    struct Page
    {
        PageText text;
        QList<HeadingMatch::Line> lines;
        PrintedNumber folio;
    };
    const Page& page(int number);

    PageTextSource& source_;
    QHash<int, Page> pages_;
    std::optional<PageNumberMap> numbers_;
};
