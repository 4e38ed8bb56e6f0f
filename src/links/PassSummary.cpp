#include "links/PassSummary.h"

#include "base/EngineTexts.h"
#include "base/Plural.h"

#include <QStringList>

namespace PassSummary {

QString line(const PassOutcome& outcome, int rowCount)
{
    int changed = 0, unchanged = 0, skipped = 0, failed = 0;
    for (const RowOutcome& row : outcome.rows) {
        switch (row.state) {
        case RowOutcome::State::Done:
            ++changed;
            break;
        case RowOutcome::State::Unchanged:
            ++unchanged;
            break;
        case RowOutcome::State::Skipped:
            ++skipped;
            break;
        case RowOutcome::State::Failed:
            ++failed;
            break;
        case RowOutcome::State::NotReached:
            break;
        }
    }
    // Every row is counted once: the parts add up to the rows of the list.
    const int notReached = std::max(0, rowCount - changed - unchanged - skipped - failed);
    QStringList parts{Plural::count("e_summary_changed", changed)};
    struct Part
    {
        EngineKey key;
        int count;
    };
    const Part rest[] = {{"e_summary_unchanged", unchanged},
                         {"e_summary_skipped", skipped},
                         {"e_summary_failed", failed},
                         {"e_summary_not_reached", notReached}};
    for (const auto& [key, count] : rest)
        if (count > 0)
            parts << Plural::count(key, count);
    return parts.join(QStringLiteral(", "));
}

} // namespace PassSummary
