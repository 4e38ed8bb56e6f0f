#pragma once

// Create-list rows for tests and benchmarks.

#include "jobs/CreateRow.h"
#include "jobs/JobValues.h"

#include <QFileInfo>
#include <QString>
#include <QStringList>

namespace CreateTest {

// A row as the window adds it on first run: pages 1-1, offset 0, contents, xor rectangle,
// comment "Go to page", contents link off with its starting settings.
inline CreateRow row(const QString& path, int first = 1, int last = 1, int offset = 0,
                     WorkKind kind = JobDefaults::kind)
{
    const QFileInfo info(path);
    CreateRow r;
    r.folder = info.absolutePath() + QLatin1Char('/');
    r.columns = QStringList{info.fileName(),
                            QString::number(first),
                            QString::number(last),
                            QString::number(offset),
                            QString::number(JobValue::number(kind)),
                            "1",      // border type xor
                            "0",      // rectangle
                            "000000", // border colour
                            "000000", // highlight colour
                            "0",      // shadow width
                            "0",
                            "0",
                            "0", // halving
                            "0", // contents link
                            "0",
                            "1",
                            "0",
                            "0",
                            "0",
                            "000000",
                            "000000",
                            "1", // contents-link page
                            "100",
                            "50",
                            "500",
                            "50",
                            "4", // contents-link target
                            "Go to content",
                            "Go to page",
                            "0",  // contents link on one page
                            "0"}; // outline
    return r;
}

} // namespace CreateTest
