#pragma once

// Helpers shared by the Create-pass tests: rows with the window's first-run defaults,
// dumps and listings in today's djvused format, and the links a document carries.

#include "CreateRows.h"
#include "DjvuFixture.h"
#include "base/MessageTexts.h"
#include "base/Sinks.h"
#include "djvu/ToolRunner.h"
#include "jobs/CreateRow.h"
#include "jobs/CreateRowReader.h"
#include "links/CreatePass.h"

#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <ostream>

// Readable QString values in failure messages.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace CreateTest {

inline QString pageId(const FixturePage& page, int index)
{
    return page.id.isEmpty() ? QStringLiteral("p%1.djvu").arg(index + 1, 4, 10, QChar('0'))
                             : page.id;
}

// What "djvused -e output-txt" prints for these pages: only pages with text appear.
inline QByteArray dumpOf(const QList<FixturePage>& pages)
{
    QString dump = QStringLiteral("select; remove-txt\n");
    for (int i = 0; i < pages.size(); ++i) {
        if (!pages[i].hasText || pages[i].lines.isEmpty())
            continue;
        dump += QStringLiteral("# ------------------------- \nselect %1 # page %2\nset-txt\n")
                    .arg(DjvuFixture::quote(pageId(pages[i], i)))
                    .arg(i + 1);
        // djvused prints a tab as \t.
        dump += DjvuFixture::textLayer(pages[i]).replace(QStringLiteral("\\011"),
                                                         QStringLiteral("\\t")) +
                QStringLiteral("\n.\n");
    }
    return dump.toUtf8();
}

// What "djvused -e ls" prints for these pages.
inline QByteArray listingOf(const QList<FixturePage>& pages)
{
    QString ls;
    for (int i = 0; i < pages.size(); ++i) {
        ls += QStringLiteral("%1 P %2  %3").arg(i + 1, 4).arg(1000 + i, 8).arg(pageId(pages[i], i));
        if (!pages[i].title.isEmpty())
            ls += QStringLiteral(" T=") + pages[i].title;
        ls += QLatin1Char('\n');
    }
    return ls.toUtf8();
}

struct Link
{
    QString target;
    QString comment; // as printed (escaped)
    QString shape;
    int x = 0, y = 0, width = 0, height = 0;
    QString rest; // the border expression and what follows, up to the end of the area
};

// The hyperlinks of every page, by page number, from "djvused -e output-ant".
inline QMap<int, QList<Link>> linksOf(const QString& path)
{
    static const QRegularExpression select(QStringLiteral("^select .*# page (\\d+)"));
    static const QRegularExpression area(QStringLiteral(
        "\\(maparea \"([^\"]*)\" \"((?:[^\"\\\\]|\\\\.)*)\" \\((rect|oval) (-?\\d+) (-?\\d+) "
        "(-?\\d+) (-?\\d+) ?\\) ?((?:\\([^()]*\\) *)*)\\)"));
    QMap<int, QList<Link>> links;
    int page = 0;
    const QStringList lines = DjvuFixture::djvused(path, "output-ant").split('\n');
    for (const QString& line : lines) {
        const auto s = select.match(line);
        if (s.hasMatch()) {
            page = s.captured(1).toInt();
            continue;
        }
        if (line.startsWith(QLatin1String("select")))
            page = 0;
        auto it = area.globalMatch(line);
        while (it.hasNext()) {
            const auto m = it.next();
            links[page].append({m.captured(1), m.captured(2), m.captured(3), m.captured(4).toInt(),
                                m.captured(5).toInt(), m.captured(6).toInt(), m.captured(7).toInt(),
                                m.captured(8).trimmed()});
        }
    }
    return links;
}

inline QStringList targetsOf(const QList<Link>& links)
{
    QStringList targets;
    for (const Link& l : links)
        targets << l.target;
    return targets;
}

} // namespace CreateTest

// A Create pass over books in a temporary folder, with its own work folder and an empty
// exe folder (so the tools come from PATH unless a test puts a stand-in into its bin).
class CreatePassFixture : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QTemporaryDir work;
    QTemporaryDir exe;
    MessageTexts texts;
    RecordingLogSink log;
    RecordingMessageSink messages;
    ToolRunner tools{exe.path(), work.path(), &messages};
    QByteArray lastScript; // the last script the pass handed djvused

    // Builds a book of these pages in the test's folder; its path.
    QString writeBook(const QString& name, const QList<FixturePage>& pages)
    {
        const QString path = dir.filePath(name);
        QString error;
        EXPECT_TRUE(DjvuFixture::build(path, pages, &error)) << error.toStdString();
        return path;
    }

    CreateOutcome run(const QList<CreateRow>& rows, CreateOptions options = {})
    {
        CreatePass pass(tools, texts, log, messages);
        pass.setScriptSink([this](const QString&, const QByteArray& s) { lastScript = s; });
        return pass.run(CreateRowReader::jobsOf(rows), options);
    }
};
