#include "links/BookPages.h"

#include "links/ContentsLine.h"
#include "links/RunningLines.h"

const BookPages::Page& BookPages::page(int number)
{
    auto it = pages_.find(number);
    if (it != pages_.end())
        return *it;
    Page p;
    p.text = source_.page(number);
    // A running head repeats a chapter's title on each of its pages: never its heading.
    const QList<bool> running = RunningLines::flags(p.text);
    for (qsizetype i = 0; i < p.text.lines.size(); ++i) {
        if (running[i])
            continue;
        QStringList words;
        for (const TextWord& w : p.text.lines[i].words)
            words << w.text;
        p.lines << ContentsLine::comparable(words);
    }
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
    if (title.isEmpty())
        return {};
    const bool numbered = title.first().at(0).isDigit();
    // The numbering and up to three words; an unnumbered title needs enough letters.
    const QStringList key = title.mid(0, numbered ? 4 : 3);
    if (numbered)
        return key.size() >= 2 || title.size() == 1 ? key : QStringList{};
    int letters = 0;
    for (const QString& w : key)
        letters += int(w.size());
    return letters >= 6 ? key : QStringList{};
}

QList<int> BookPages::pagesWithHeading(const QStringList& title, int from, int to,
                                       const QSet<int>& skip)
{
    QList<int> found;
    const QStringList key = headingKey(title);
    if (key.isEmpty())
        return found;
    from = std::max(from, 1);
    to = std::min(to, pageCount());
    for (int n = from; n <= to; ++n) {
        if (skip.contains(n))
            continue;
        for (const QStringList& line : page(n).lines) {
            if (line.size() < key.size() || line.size() > title.size() + 3)
                continue;
            if (std::equal(key.begin(), key.end(), line.begin())) {
                found << n;
                break;
            }
        }
    }
    return found;
}
