#include "base/InstallLayout.h"
#include "base/LanguageFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void put(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

struct LayoutCase
{
    const char* name;
    bool languageBesideExe;   // a build folder or a carried copy
    bool shareFolder;         // PREFIX/share/tocsmith/language
    const char* iniBesideExe; // left by an earlier, uninstalled copy
    const char* iniInConfig;  // the user's own settings
    bool installed;
    const char* settingsRead; // what the program then reads
};

class InstallLayoutTest : public ::testing::TestWithParam<LayoutCase>
{
};

TEST_P(InstallLayoutTest, LanguageFilesAndSettingsAreFoundWhereTheLayoutPutsThem)
{
    const LayoutCase& c = GetParam();
    QTemporaryDir prefix;
    const QString bin = prefix.filePath("bin");
    const QString config = prefix.filePath("home/.config");
    QDir().mkpath(bin);
    qputenv("XDG_CONFIG_HOME", config.toLocal8Bit());
    if (c.languageBesideExe)
        QDir().mkpath(bin + "/language");
    if (c.shareFolder)
        QDir().mkpath(prefix.filePath("share/tocsmith/language"));
    if (c.iniBesideExe)
        put(bin + "/Tocsmith.ini", c.iniBesideExe);
    if (c.iniInConfig)
        put(config + "/tocsmith/Tocsmith.ini", c.iniInConfig);

    EXPECT_EQ(InstallLayout::isInstalled(bin), c.installed);
    const QString expectedLanguage =
        c.installed ? prefix.filePath("share/tocsmith/language") : bin + "/language";
    EXPECT_EQ(QDir(LanguageFile::folderIn(bin)).canonicalPath(),
              QDir(expectedLanguage).canonicalPath());
    const QString settings = InstallLayout::settingsFile(bin);
    EXPECT_EQ(settings, c.installed ? config + "/tocsmith/Tocsmith.ini" : bin + "/Tocsmith.ini");
    EXPECT_EQ(bytesOf(settings), QByteArray(c.settingsRead ? c.settingsRead : ""));
    if (c.iniBesideExe) // never moved away: an older copy may still run from there
        EXPECT_EQ(bytesOf(bin + "/Tocsmith.ini"), QByteArray(c.iniBesideExe));
    qunsetenv("XDG_CONFIG_HOME");
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, InstallLayoutTest,
    ::testing::Values(
        LayoutCase{"BuildFolder", true, false, "[Menu]\nlanguage=a\n", nullptr, false,
                   "[Menu]\nlanguage=a\n"},
        LayoutCase{"BuildFolderBesideAShareFolder", true, true, nullptr, nullptr, false, nullptr},
        LayoutCase{"InstalledFirstStart", false, true, nullptr, nullptr, true, nullptr},
        LayoutCase{"InstalledCarriesTheOldSettingsOver", false, true, "[Menu]\nlanguage=b\n",
                   nullptr, true, "[Menu]\nlanguage=b\n"},
        LayoutCase{"InstalledKeepsTheUsersOwnSettings", false, true, "[Menu]\nlanguage=b\n",
                   "[Menu]\nlanguage=c\n", true, "[Menu]\nlanguage=c\n"},
        LayoutCase{"NeitherFolder", false, false, nullptr, nullptr, false, nullptr}),
    [](const ::testing::TestParamInfo<LayoutCase>& info) { return std::string(info.param.name); });

} // namespace
