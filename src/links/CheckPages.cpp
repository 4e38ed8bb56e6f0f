#include "links/CheckPages.h"

#include "reading/ContentsPage.h"
#include "reading/SmartReading.h"

namespace CheckPages {

QSet<int> forTargets(const QMap<int, PageText>& contents, int offset, bool halve, int pageCount)
{
    QSet<int> pages;
    bool roman = false;
    int firstTarget = pageCount + 1;
    for (auto it = contents.cbegin(); it != contents.cend(); ++it) {
        for (const SmartEntry& e : ContentsPage::read(it.value(), it.key()).entries) {
            roman = roman || e.number.kind == PrintedNumber::Roman;
            if (e.number.kind != PrintedNumber::Arabic || e.number.tooLong)
                continue;
            const int target = SmartReading::target(e.number.value, offset, halve);
            firstTarget = std::min(firstTarget, target);
            for (int p = target - kReach; p <= target + kReach; ++p)
                if (p >= 1 && p <= pageCount)
                    pages.insert(p);
        }
    }
    // Roman entries lead into the pages between the contents and the body.
    const int lastContents = contents.isEmpty() ? 0 : contents.lastKey();
    if (roman && firstTarget - lastContents <= kFrontMatter)
        for (int p = lastContents + 1; p < firstTarget && p <= pageCount; ++p)
            pages.insert(p);
    for (auto it = contents.cbegin(); it != contents.cend(); ++it)
        pages.remove(it.key());
    return pages;
}

QList<int> forPageNumbers(const QList<int>& withoutText)
{
    QList<int> pages;
    for (const int p : withoutText)
        if (!withoutText.isEmpty() && (p - withoutText.first()) % kNumberStep < 2)
            pages << p;
    return pages;
}

} // namespace CheckPages
