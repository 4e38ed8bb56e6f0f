#include "base/LanguageFile.h"
#include "base/LanguageList.h"

#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class LanguageListTest : public ::testing::Test
{
protected:
    QTemporaryDir exe;
    QString folder() const { return LanguageFile::folderIn(exe.path()); }
    void SetUp() override { ASSERT_TRUE(QDir(exe.path()).mkpath("language")); }
    void put(const QString& name, const QByteArray& bytes)
    {
        QFile f(QDir(folder()).filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QStringList fileNames(const LanguageList& list) const
    {
        QStringList names;
        for (const LanguageList::Entry& e : list.entries())
            names << e.fileName;
        return names;
    }
};

TEST_F(LanguageListTest, LanguagesComeInTheDirectorysOwnOrder)
{
    QStringList created;
    for (int i = 0; i < 24; ++i) {
        const QString name = QString("lang%1.lng").arg(i, 2, 10, QChar('0'));
        put(name, "[Main]\nname=L" + QByteArray::number(i) + "\n");
        created << name;
    }
    put("readme.txt", "[Main]\nname=Not a language\n");

    QStringList enumerated;
    QDirIterator it(folder(), {"*.lng"}, QDir::Files);
    while (it.hasNext())
        enumerated << QFileInfo(it.next()).fileName();

    const LanguageList list = LanguageList::find(folder());
    EXPECT_EQ(fileNames(list), enumerated);
    EXPECT_EQ(list.size(), 24);
    // The file system here does not list names sorted, so the list is not sorted either.
    if (enumerated != created) {
        EXPECT_NE(fileNames(list), created);
    }
}

TEST_F(LanguageListTest, DisplayNamesPutAnAcceleratorBeforeTheName)
{
    put("English.lng", "[Main]\nname=English\n");
    put("Deutsch.lng", "[MAIN]\nName=Deutsch\n");
    const LanguageList list = LanguageList::find(folder());
    ASSERT_EQ(list.size(), 2);
    for (const LanguageList::Entry& e : list.entries()) {
        EXPECT_EQ(e.displayName, "&" + e.fileName.chopped(4));
        EXPECT_EQ(list.fileNameFor(e.displayName), e.fileName);
    }
    EXPECT_TRUE(list.fileNameFor("English").isEmpty()); // the caption is compared whole
    EXPECT_TRUE(list.fileNameFor("&Français").isEmpty());
}

TEST_F(LanguageListTest, FilesThatNameNoLanguageAreLeftOut)
{
    put("NoName.lng", "[Menu]\nN7=Options\n");
    put("EmptyName.lng", "[Main]\nname=\n");
    put("Empty.lng", "");
    put("Good.lng", "[Main]\nname=Good\n");
    ASSERT_TRUE(QDir(folder()).mkdir("Folder.lng"));
    const LanguageList list = LanguageList::find(folder());
    EXPECT_EQ(fileNames(list), QStringList{"Good.lng"});
}

TEST_F(LanguageListTest, TheSameDisplayNameTwiceChoosesTheFileListedLater)
{
    put("a.lng", "[Main]\nname=English\n");
    put("b.lng", "[Main]\nname=English\n");
    put("c.lng", "[Main]\nname=Other\n");
    const LanguageList list = LanguageList::find(folder());
    ASSERT_EQ(list.size(), 3);
    QString later;
    for (const LanguageList::Entry& e : list.entries()) {
        if (e.displayName == "&English")
            later = e.fileName;
    }
    EXPECT_EQ(list.fileNameFor("&English"), later);
    EXPECT_EQ(list.fileNameFor("&Other"), QString("c.lng"));
}

TEST_F(LanguageListTest, NoLanguageFolderGivesAnEmptyList)
{
    EXPECT_EQ(LanguageList::find(exe.filePath("nowhere/language")).size(), 0);
    EXPECT_EQ(LanguageList::find(folder()).size(), 0); // folder without files
}

} // namespace
