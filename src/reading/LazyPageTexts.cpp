#include "reading/LazyPageTexts.h"

LazyPageTexts::LazyPageTexts(int pageCount, QMap<int, PageText> read, FetchAll fetchAll)
    : pageCount_(pageCount), pages_(std::move(read)), fetchAll_(std::move(fetchAll))
{
}

PageText LazyPageTexts::page(int number)
{
    if (!pages_.contains(number) && !tried_ && number >= 1 && number <= pageCount_) {
        tried_ = true;
        QMap<int, PageText> all;
        failed_ = !fetchAll_(&all);
        if (!failed_) {
            // The pages read first stay as they were read.
            for (auto it = all.cbegin(); it != all.cend(); ++it)
                if (!pages_.contains(it.key()))
                    pages_.insert(it.key(), it.value());
        }
    }
    return pages_.value(number);
}

QList<int> LazyPageTexts::complete(const QList<int>& pages)
{
    QMap<int, PageText> asked;
    for (const int n : pages)
        if (complete_ && n >= 1 && n <= pageCount_ && !completed_.contains(n)) {
            completed_.insert(n);
            asked.insert(n, page(n));
        }
    if (asked.isEmpty() || failed_)
        return {};
    const QList<int> changed = complete_(&asked);
    for (const int n : changed)
        pages_.insert(n, asked.value(n));
    return changed;
}
