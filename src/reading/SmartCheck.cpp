#include "reading/SmartCheck.h"

#include "base/EngineTexts.h"

namespace {

// The target of the next entry that has one; 0: none.
int nextTarget(const QList<SmartEntry>& entries, qsizetype i)
{
    for (qsizetype k = i + 1; k < entries.size(); ++k)
        if (entries[k].target > 0)
            return entries[k].target;
    return 0;
}

QString pageList(const QList<int>& pages)
{
    QStringList parts;
    for (const int p : pages)
        parts << QString::number(p);
    return parts.join(QStringLiteral(", "));
}

} // namespace

QStringList SmartCheck::comparableTitle(const SmartEntry& e)
{
    QStringList title;
    if (!e.numbering.isEmpty())
        title << e.numbering;
    title << e.words;
    return ContentsLine::comparable(title);
}

QString SmartCheck::describe(const SmartEntry& e)
{
    QString title = e.title;
    if (title.size() > 60)
        title = title.left(57) + QStringLiteral("...");
    return EngineTexts::say("e_entry_named").arg(e.contentsPage).arg(title);
}

SmartCheck::Outcome SmartCheck::run(QList<SmartEntry>* entries, BookPages& book,
                                    const QSet<int>& skip, Mode mode)
{
    Outcome out;
    if (mode == Mode::Off)
        return out;
    int drift = 0; // how far the last moved link moved: the pages lost or gained so far
    int lower = 1; // the checked page of the entry before: no heading comes earlier
    QStringList refused;
    for (qsizetype i = 0; i < entries->size(); ++i) {
        SmartEntry& e = (*entries)[i];
        if (e.target <= 0)
            continue;
        if (e.found == SmartEntry::Found::ByTitle) {
            lower = e.target;
            continue;
        }
        const QStringList title = comparableTitle(e);
        if (BookPages::headingKey(title).isEmpty()) {
            ++out.uncheckable;
            continue;
        }
        if (!book.pagesWithHeading(title, e.target, e.target, skip).isEmpty()) {
            ++out.confirmed;
            e.checked = true;
            drift = 0;
            lower = e.target;
            continue;
        }
        // Between the entry before and the next one, the next moved as the last one was.
        const int next = nextTarget(*entries, i);
        const int upper = next > 0 ? std::max(next, next + drift) : book.pageCount();
        const int from = std::min(lower, e.target), to = std::max(upper, e.target);
        const QList<int> pages = book.pagesWithHeading(title, from, to, skip);
        if (pages.size() != 1) {
            ++out.unconfirmed;
            out.notes << (pages.isEmpty() ? EngineTexts::say("e_check_no_heading")
                                                .arg(describe(e))
                                                .arg(from)
                                                .arg(to)
                                                .arg(e.target)
                                          : EngineTexts::say("e_check_unclear")
                                                .arg(describe(e))
                                                .arg(pageList(pages))
                                                .arg(e.target));
            continue;
        }
        const int found = pages.first();
        out.corrections.append({int(i), e.target, found});
        const QString what =
            EngineTexts::say("e_check_found_on").arg(describe(e)).arg(e.target).arg(found);
        drift = found - e.target;
        lower = found;
        if (mode == Mode::Strict) {
            refused << what;
            continue;
        }
        out.notes << what + EngineTexts::say("e_check_corrected");
        e.target = found;
        e.checked = true;
    }
    if (!refused.isEmpty()) {
        out.error = EngineTexts::say("e_check_refused")
                        .arg(refused.size())
                        .arg(refused.join(QStringLiteral("; ")));
        return out;
    }
    out.notes << EngineTexts::say("e_check_summary")
                     .arg(out.confirmed)
                     .arg(out.corrections.size())
                     .arg(out.unconfirmed)
                     .arg(out.uncheckable);
    return out;
}
