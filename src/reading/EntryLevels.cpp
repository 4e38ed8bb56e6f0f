#include "reading/EntryLevels.h"

#include <QMap>
#include <QSet>

#include <algorithm>
#include <climits>

namespace EntryLevels {

void assign(QList<SmartEntry>* entries)
{
    QSet<int> wordStyles;
    int smallestDepth = INT_MAX;
    for (const SmartEntry& e : std::as_const(*entries)) {
        if (e.style == ContentsLine::Dotted)
            smallestDepth = std::min(smallestDepth, e.depth);
        else if (e.style != ContentsLine::NoNumbering)
            wordStyles.insert(e.style);
    }
    QList<int> styles = wordStyles.values();
    std::sort(styles.begin(), styles.end());
    const int words = int(styles.size());
    // "Глава 1" over "1.1": the first part of a dotted numbering is the chapter's.
    const int dottedBase = words > 0 && smallestDepth > 1 ? words - 1 : words;
    for (SmartEntry& e : *entries) {
        if (e.style == ContentsLine::Dotted)
            e.level = dottedBase + e.depth;
        else if (e.style != ContentsLine::NoNumbering)
            e.level = int(styles.indexOf(e.style)) + 1;
    }

    QMap<int, QList<qsizetype>> byPage;
    for (qsizetype i = 0; i < entries->size(); ++i)
        byPage[(*entries)[i].contentsPage] << i;
    for (const QList<qsizetype>& onPage : std::as_const(byPage)) {
        // Indentation steps of the page, left to right, each with the level its numbered
        // entries have; a step without one goes one level below the step left of it.
        QList<int> lefts;
        int tolerance = 0;
        for (const qsizetype i : onPage) {
            lefts << (*entries)[i].left;
            tolerance = std::max(tolerance, (*entries)[i].area.height / 2);
        }
        std::sort(lefts.begin(), lefts.end());
        QList<int> steps;
        for (const int l : std::as_const(lefts))
            if (steps.isEmpty() || l - steps.last() > tolerance)
                steps << l;
        auto stepOf = [&](int left) {
            int best = 0;
            for (int s = 0; s < steps.size(); ++s)
                if (left >= steps[s] - tolerance)
                    best = s;
            return best;
        };
        QList<QMap<int, int>> levelsAt(steps.size());
        for (const qsizetype i : onPage) {
            const SmartEntry& e = (*entries)[i];
            if (e.style != ContentsLine::NoNumbering)
                ++levelsAt[stepOf(e.left)][e.level];
        }
        QList<int> stepLevel(steps.size(), 1);
        for (int s = 0; s < steps.size(); ++s) {
            int most = 0;
            for (auto it = levelsAt[s].cbegin(); it != levelsAt[s].cend(); ++it)
                if (it.value() > most) {
                    most = it.value();
                    stepLevel[s] = it.key();
                }
            if (most == 0)
                stepLevel[s] = s == 0 ? 1 : stepLevel[s - 1] + 1;
        }
        for (const qsizetype i : onPage) {
            SmartEntry& e = (*entries)[i];
            if (e.style == ContentsLine::NoNumbering)
                e.level = stepLevel[stepOf(e.left)];
        }
    }
}

} // namespace EntryLevels
