#include "links/PassSummary.h"

#include "tools/EngineTexts.h"

#include <QStringList>

namespace PassSummary {

QString line(const PassOutcome& outcome, int rowCount)
{
    int done = 0;
    int failed = 0;
    for (const RowOutcome& row : outcome.rows) {
        if (row.state == RowOutcome::State::Done)
            ++done;
        else if (row.state == RowOutcome::State::Failed)
            ++failed;
    }
    const int notReached = std::max(0, rowCount - done - failed);
    // One changed document is said in the singular where the language has the form.
    const char* changed = outcome.filesChanged == 1 ? "e_summary_changed_one" : "e_summary_changed";
    QStringList parts{EngineTexts::say(changed).arg(outcome.filesChanged)};
    if (failed > 0)
        parts << EngineTexts::say("e_summary_failed").arg(failed);
    if (notReached > 0)
        parts << EngineTexts::say("e_summary_not_reached").arg(notReached);
    return parts.join(QStringLiteral(", "));
}

} // namespace PassSummary
