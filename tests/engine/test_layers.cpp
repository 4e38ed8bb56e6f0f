// The engine's folders include downwards only: tools, then app, then jobs, then links and
// ocr side by side; no engine unit includes a window unit or the command line.
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QStringList>
#include <gtest/gtest.h>

namespace {

// The layer of an engine folder; -1 for folders outside the engine (windows, command line).
int layerOf(const QString& folder)
{
    static const QStringList layers = {"tools", "app", "jobs", "links|ocr"};
    if (folder.contains(QLatin1String("/ui")) || folder.contains(QLatin1String("ui/")))
        return -1;
    for (int i = 0; i < layers.size(); ++i)
        if (layers[i].split('|').contains(folder))
            return i;
    return -1;
}

// Whether a unit of `from` (a folder under src) may include a header of `to`.
bool allowed(const QString& from, const QString& to)
{
    const int a = layerOf(from);
    if (a < 0)
        return true; // windows and the command line stand on top of everything
    const int b = layerOf(to);
    return from == to || (b >= 0 && b < a);
}

// "links/CreatePass.cpp includes app/ui/..." for every include that breaks the rule.
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
    EXPECT_TRUE(allowed("links", "tools"));
    EXPECT_TRUE(allowed("links", "jobs"));
    EXPECT_TRUE(allowed("app/ui", "links/ui"));
    EXPECT_FALSE(allowed("tools", "app"));
    EXPECT_FALSE(allowed("jobs", "links"));
    EXPECT_FALSE(allowed("ocr", "links"));
    EXPECT_FALSE(allowed("links", "ocr"));
    EXPECT_FALSE(allowed("links", "links/ui"));
    EXPECT_FALSE(allowed("tools", "cli"));
}

TEST(Layers, EngineUnitsIncludeDownwardsOnly)
{
    const QStringList found = forbiddenIncludes(QStringLiteral(TOCSMITH_SOURCE_DIR "/src"));
    EXPECT_TRUE(found.isEmpty()) << found.join('\n').toStdString();
}

} // namespace
