#include "base/ColourText.h"
#include "base/IniFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class IniFileTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString path() const { return dir.filePath("Tocsmith.ini"); }
    void put(const QByteArray& bytes)
    {
        QFile f(path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray get() const
    {
        QFile f(path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

TEST_F(IniFileTest, MissingFileSectionOrKeyGivesTheDefaultAndCreatesNothing)
{
    IniFile ini(path());
    EXPECT_EQ(ini.readText("Create", "goto", "Go to page"), QString("Go to page"));
    EXPECT_EQ(ini.readInt("Create", "oglav_4", 500), 500);
    EXPECT_TRUE(ini.readFlag("Create", "Backup", true));
    EXPECT_FALSE(QFile::exists(path()));
    put("[Menu]\nTop=1\n");
    EXPECT_EQ(ini.readInt("Create", "Top", 7), 7);
    EXPECT_EQ(ini.readInt("Menu", "Protokol", 0), 0);
}

TEST_F(IniFileTest, ASnapshotReadsAsTheFileDidWhenItWasTaken)
{
    put("m1=before any section\n[Memo]\r\nm1 = \"one\"\r\nM1=second\n[OCR]\nm1=two\r\xcf\xf0\xe8="
        "\xe2\n[memo]\nm1=third\nx=later\n");
    const IniFile snapshot = IniFile::snapshotOf(path());
    const IniFile live(path());
    for (const char* section : {"Memo", "memo", "OCR", "Other"})
        for (const char* key : {"m1", "M1", "x", "y"})
            EXPECT_EQ(snapshot.readText(section, key, "-"), live.readText(section, key, "-"))
                << section << " " << key;
    EXPECT_EQ(snapshot.readText("OCR", QStringLiteral("При")), QStringLiteral("в"));
    ASSERT_TRUE(live.writeText("Memo", "m1", "changed"));
    EXPECT_EQ(snapshot.readText("Memo", "m1"), QStringLiteral("one"));
    EXPECT_EQ(IniFile::snapshotOf(path()).readText("Memo", "m1"), QStringLiteral("changed"));
}

TEST_F(IniFileTest, NamesMatchWithoutRegardToCase)
{
    put("[create]\nVIS=1\n[MENU]\nLANGUAGE=English.lng\n");
    IniFile ini(path());
    EXPECT_TRUE(ini.readFlag("Create", "vis", false));
    EXPECT_EQ(ini.readText("Menu", "Language"), QString("English.lng"));
}

TEST_F(IniFileTest, IntegersFollowTheHexadecimalPrefixRule)
{
    put("[Create]\na=0x1F\nb=0X10\nc=-12\nd=0x\ne=12a\nf=\ng=0xZZ\n");
    IniFile ini(path());
    EXPECT_EQ(ini.readInt("Create", "a", 0), 31);
    EXPECT_EQ(ini.readInt("Create", "b", 0), 16);
    EXPECT_EQ(ini.readInt("Create", "c", 0), -12);
    EXPECT_EQ(ini.readInt("Create", "d", 5), 5); // "0x" alone is not hexadecimal, nor decimal
    EXPECT_EQ(ini.readInt("Create", "e", 5), 5);
    EXPECT_EQ(ini.readInt("Create", "f", 5), 5);
    EXPECT_EQ(ini.readInt("Create", "g", 5), 5);
}

TEST_F(IniFileTest, AWriteReplacesOneKeyAndLeavesEveryOtherLineByteForByte)
{
    const QByteArray before = "; hand-written\r\n[Create]\r\nClose=0\r\n  odd line  \r\n"
                              "Vis=1\r\n\r\n[Edit]\r\nBackup=1\r\n";
    put(before);
    IniFile ini(path());
    ASSERT_TRUE(ini.writeFlag("Create", "vis", false));
    QByteArray expected = before;
    expected.replace("Vis=1", "vis=0");
    EXPECT_EQ(get(), expected);
    ASSERT_TRUE(ini.writeInt("Create", "oglav_2", 31));
    EXPECT_EQ(get(), QByteArray("; hand-written\r\n[Create]\r\nClose=0\r\n  odd line  \r\n"
                                "vis=0\r\noglav_2=31\r\n\r\n[Edit]\r\nBackup=1\r\n"));
    ASSERT_TRUE(ini.writeText("Menu", "language", ""));
    EXPECT_TRUE(get().endsWith("Backup=1\r\n[Menu]\r\nlanguage=\r\n"));
    EXPECT_TRUE(ini.contains("MENU", "Language"));
}

TEST_F(IniFileTest, TheFirstWriteCreatesTheFile)
{
    IniFile ini(path());
    ASSERT_TRUE(ini.writeText("Create", "goto", "Перейти"));
    EXPECT_EQ(ini.readText("Create", "goto"), QString("Перейти"));
}

TEST_F(IniFileTest, FilesWrittenOnWindowsAreReadAsWindows1251AndStaySo)
{
    put("[Create]\r\ngoto=\xcf\xe5\xf0\xe5\xe9\xf2\xe8\r\n"); // "Перейти" in Windows-1251
    IniFile ini(path());
    EXPECT_EQ(ini.readText("Create", "goto"), QString("Перейти"));
    ASSERT_TRUE(ini.writeText("Create", "oglav_7", "К оглавлению"));
    EXPECT_EQ(ini.readText("Create", "goto"), QString("Перейти"));
    EXPECT_EQ(ini.readText("Create", "oglav_7"), QString("К оглавлению"));
}

TEST_F(IniFileTest, TextsAreCutAt1023Characters)
{
    IniFile ini(path());
    ASSERT_TRUE(ini.writeText("Create", "goto", QString(2000, 'x')));
    EXPECT_EQ(ini.readText("Create", "goto").size(), 1023);
}

TEST_F(IniFileTest, ColoursAreKeptBlueGreenRedOnDisk)
{
    IniFile ini(path());
    const quint32 pureRed = 0x0000FF;
    ASSERT_TRUE(ini.writeColour("Create", "color1", pureRed));
    EXPECT_TRUE(get().contains("color1=0000FF"));
    EXPECT_EQ(ini.readColour("Create", "color1"), pureRed);
    EXPECT_EQ(ColourText::fromValue(pureRed), QString("FF0000"));
    quint32 v = 0;
    ASSERT_TRUE(ColourText::toValue("123456", &v));
    EXPECT_EQ(v, 0x563412u);
    EXPECT_EQ(ColourText::fromValue(v), QString("123456"));
    put("[Create]\ncolor2=nothex\n");
    EXPECT_EQ(ini.readColour("Create", "color2", 0), 0u);
}

} // namespace
