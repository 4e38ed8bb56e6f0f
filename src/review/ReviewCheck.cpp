#include "review/ReviewCheck.h"
#include "base/EngineTexts.h"

#include "djvu/PageTexts.h"
#include "djvu/ToolRunner.h"
#include "reading/BookPages.h"
#include "reading/ContentsLine.h"

#include <QSet>

namespace ReviewCheck {

QList<int> targetPages(const QList<ReviewEntry>& entries)
{
    QList<int> pages;
    QSet<int> seen;
    for (const ReviewEntry& e : entries) {
        const int page = int(e.entry.targetPage);
        if (page > 0 && !seen.contains(page)) {
            seen.insert(page);
            pages << page;
        }
    }
    return pages;
}

bool readPages(ToolRunner& tools, const QString& path, const QList<int>& pages,
               QMap<int, PageText>* texts, QString* error)
{
    if (pages.isEmpty())
        return true;
    const ToolRun printed = tools.capture(QStringLiteral("djvused"),
                                          {path, QStringLiteral("-e"), PageTexts::commands(pages)});
    if (!printed.succeeded()) {
        *error = EngineTexts::say("e_could_not_read").arg(path, printed.failureText());
        return false;
    }
    const PageTexts read = PageTexts::parse(printed.standardOutput, pages);
    if (!read.ok()) {
        *error = read.error;
        return false;
    }
    for (const PageTexts::Page& page : read.pages) {
        PageText text;
        if (page.hasText && !PageText::parse(page.text, &text, error))
            return false;
        texts->insert(page.number, text);
    }
    return true;
}

ReviewEntry::Check check(const PlanEntry& entry, const QMap<int, PageText>& texts, int pageCount)
{
    const QStringList title =
        ContentsLine::comparable(entry.title.split(QLatin1Char(' '), Qt::SkipEmptyParts));
    if (BookPages::headingKey(title).isEmpty())
        return ReviewEntry::Check::Uncheckable;
    const int page = int(entry.targetPage);
    if (!texts.value(page).hasLayer)
        return ReviewEntry::Check::NoText;
    StoredPageTexts source(pageCount, texts);
    BookPages book(source);
    return book.pagesWithHeading(title, page, page, {}).isEmpty() ? ReviewEntry::Check::NotFound
                                                                  : ReviewEntry::Check::Found;
}

} // namespace ReviewCheck
