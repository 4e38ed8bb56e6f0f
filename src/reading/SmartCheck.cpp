#include "reading/SmartCheck.h"

#include "base/EngineTexts.h"

#include <optional>

namespace {

// How far from a target whose heading is not there the pages are read as well as they can be.
constexpr int kLook = 4;

// The target of the next entry that has one; 0: none.
int nextTarget(const QList<SmartEntry>& entries, qsizetype i)
{
    for (qsizetype k = i + 1; k < entries.size(); ++k)
        if (entries[k].target > 0)
            return entries[k].target;
    return 0;
}

// How far the entry's link lies from its printed number; nullopt for a roman or lost one.
std::optional<int> distance(const SmartEntry& e)
{
    if (e.number.kind != PrintedNumber::Arabic || e.number.tooLong || e.target <= 0)
        return std::nullopt;
    return int(e.target - e.number.value);
}

// The distance of the nearest confirmed entry before (step -1) or after (step 1) entry i.
std::optional<int> confirmedDistance(const QList<SmartEntry>& entries, qsizetype i, int step)
{
    for (qsizetype k = i + step; k >= 0 && k < entries.size(); k += step)
        if (entries[k].checked)
            if (const std::optional<int> d = distance(entries[k]))
                return d;
    return std::nullopt;
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
    QList<std::pair<qsizetype, QString>> unsure; // links without their heading, and why
    // A book without text whose offset was found has the targets recognised now, together.
    QList<int> targets;
    for (const SmartEntry& e : std::as_const(*entries))
        if (e.target > 0 && e.found != SmartEntry::Found::ByTitle)
            targets << e.target;
    book.complete(targets);
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
        // A book without text has only the pages around each target recognised: those near
        // this one are, now that its heading is not where the offset says.
        book.complete(std::max(from, e.target - kLook), std::min(to, e.target + kLook));
        const QList<int> pages = book.pagesWithHeading(title, from, to, skip);
        if (pages.size() != 1) {
            unsure.append({i, pages.isEmpty() ? EngineTexts::say("e_check_no_heading")
                                                    .arg(describe(e))
                                                    .arg(from)
                                                    .arg(to)
                                                    .arg(e.target)
                                              : EngineTexts::say("e_check_unclear")
                                                    .arg(describe(e))
                                                    .arg(pageList(pages))
                                                    .arg(e.target)});
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
    // A link kept without its heading is only as good as the distance it was given: where
    // the confirmed links before and after it lie at different distances, the scan lost or
    // gained pages between them and where it leads is unknown, unless its page prints the
    // entry's number, or the book's page numbers around it say it does.
    for (const auto& [i, why] : std::as_const(unsure)) {
        SmartEntry& e = (*entries)[i];
        const std::optional<int> own = distance(e);
        const std::optional<int> before = confirmedDistance(*entries, i, -1);
        const std::optional<int> after = confirmedDistance(*entries, i, 1);
        const bool atOdds = own && before && after && *before != *after;
        const PrintedNumber folio = atOdds ? book.folio(e.target) : PrintedNumber();
        const bool printsIt =
            atOdds && ((folio.kind == PrintedNumber::Arabic && folio.value == e.number.value) ||
                       book.numbers().pageOf(PrintedNumber::Arabic, e.number.value) == e.target);
        if (!atOdds || printsIt) {
            ++out.unconfirmed;
            out.notes << why;
            continue;
        }
        ++out.withheld;
        out.notes << EngineTexts::say("e_check_withheld").arg(describe(e)).arg(e.target);
        e.target = 0;
        e.withheld = true;
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
    if (out.withheld > 0)
        out.notes << EngineTexts::say("e_check_withheld_count").arg(out.withheld);
    return out;
}
