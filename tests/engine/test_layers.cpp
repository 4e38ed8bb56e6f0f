// Every folder under src has its place in one order, and a unit includes only headers of its
// own folder or of folders before it: the engine from base up to review, then the command line
// and the windows, shared widgets first and the main window last. An include that runs upwards,
// and so any loop between folders, fails here.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QStringList>
#include <gtest/gtest.h>

namespace {

const QStringList& order()
{
    static const QStringList folders = {"base",    "djvu",   "jobs",      "reading", "ocr",
                                        "outline", "links",  "review",    "cli",     "ui/widgets",
                                        "ui/tabs", "ui/ocr", "ui/review", "ui/main"};
    return folders;
}

// Whether a unit of `from` (a folder under src) may include a header of `to`.
bool allowed(const QString& from, const QString& to)
{
    const qsizetype a = order().indexOf(from);
    const qsizetype b = order().indexOf(to);
    return a >= 0 && b >= 0 && b <= a;
}

// "links/CreatePass.cpp includes ui/main/" for every include that breaks the order.
QStringList forbiddenIncludes(const QString& srcFolder)
{
    static const QRegularExpression include(QStringLiteral("^\\s*#\\s*include\\s+\"(.+)/[^/]+\""));
    QStringList found;
    QDirIterator it(srcFolder, {"*.h", "*.cpp"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString relative = path.mid(srcFolder.size() + 1);
        const QString from = relative.section('/', 0, -2);
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray& line : file.readAll().split('\n')) {
            const auto m = include.match(QString::fromUtf8(line));
            if (m.hasMatch() && !allowed(from, m.captured(1)))
                found << relative + " includes " + m.captured(1) + "/";
        }
    }
    return found;
}

TEST(Layers, TheRuleItselfTellsUpFromDown)
{
    EXPECT_TRUE(allowed("links", "reading"));
    EXPECT_TRUE(allowed("ui/main", "ui/tabs"));
    EXPECT_TRUE(allowed("ui/tabs", "jobs"));
    EXPECT_FALSE(allowed("base", "djvu"));
    EXPECT_FALSE(allowed("reading", "links"));
    EXPECT_FALSE(allowed("review", "ui/review"));
    EXPECT_FALSE(allowed("ui/tabs", "ui/main"));
    EXPECT_FALSE(allowed("djvu", "cli"));
    EXPECT_FALSE(allowed("links", "somewhere"));
}

TEST(Layers, EveryFolderHasItsPlace)
{
    const QString src = QStringLiteral(TOCSMITH_SOURCE_DIR "/src");
    QStringList unplaced;
    QDirIterator it(src, {"*.h", "*.cpp"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString folder = it.next().mid(src.size() + 1).section('/', 0, -2);
        if (!order().contains(folder) && !unplaced.contains(folder))
            unplaced << folder;
    }
    EXPECT_TRUE(unplaced.isEmpty()) << unplaced.join(' ').toStdString();
}

TEST(Layers, UnitsIncludeDownwardsOnly)
{
    const QStringList found = forbiddenIncludes(QStringLiteral(TOCSMITH_SOURCE_DIR "/src"));
    EXPECT_TRUE(found.isEmpty()) << found.join('\n').toStdString();
}

} // namespace
