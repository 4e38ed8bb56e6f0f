#include "reading/BookPages.h"

#include "reading/RunningLines.h"

const BookPages::Page& BookPages::page(int number)
{
    auto it = pages_.find(number);
    if (it != pages_.end())
        return *it;
    Page p;
    p.text = source_.page(number);
    // A running head repeats a chapter's title on each of its pages: never its heading.
    p.lines = HeadingMatch::bodyLines(p.text);
    p.folio = RunningLines::folio(p.text);
    return *pages_.insert(number, p);
}

const PageText& BookPages::text(int number)
{
    return page(number).text;
}

PrintedNumber BookPages::folio(int number)
{
    return page(number).folio;
}

QStringList BookPages::headingKey(const QStringList& title)
{
    return HeadingMatch::key(HeadingMatch::normalised(title));
}

QList<int> BookPages::pagesWithHeading(const QStringList& title, int from, int to,
                                       const QSet<int>& skip)
{
    QList<int> found;
    const QStringList normal = HeadingMatch::normalised(title);
    if (HeadingMatch::key(normal).isEmpty())
        return found;
    from = std::max(from, 1);
    to = std::min(to, pageCount());
    for (int n = from; n <= to; ++n)
        if (!skip.contains(n) && HeadingMatch::onPage(normal, page(n).lines))
            found << n;
    return found;
}

void BookPages::complete(int from, int to)
{
    QList<int> pages;
    for (int n = std::max(from, 1); n <= std::min(to, pageCount()); ++n)
        pages << n;
    complete(pages);
}

void BookPages::complete(const QList<int>& pages)
{
    const QList<int> changed = source_.complete(pages);
    for (const int n : changed)
        pages_.remove(n);
    if (!changed.isEmpty())
        numbers_.reset();
}

const PageNumberMap& BookPages::numbers()
{
    if (!numbers_) {
        numbers_.emplace();
        for (int n = 1; n <= pageCount(); ++n)
            numbers_->add(n, text(n));
        numbers_->finish();
    }
    return *numbers_;
}
