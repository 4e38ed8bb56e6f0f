#include "base/Cp1251.h"
#include "base/IniFile.h"
#include "base/LanguageFile.h"
#include "base/MessageTexts.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class LanguageFileTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString write(const QString& name, const QByteArray& bytes)
    {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }
};

TEST_F(LanguageFileTest, MessageTextsTakeTheFileTextAnEmptyValueOrTheirDefault)
{
    const QString path = write("x.lng", "[Memo]\n"
                                        "m7=done\n"
                                        "mes1=\n"
                                        "[OCR]\n"
                                        "st2=Lines\n"
                                        "st4=\n");
    MessageTexts texts;
    texts.setText("m8", "left over from another language");
    texts.setText("st3", "Words");
    LanguageFile::loadMessages(path, texts);

    EXPECT_EQ(texts.text("m7"), QString("done"));
    EXPECT_EQ(texts.text("st2"), QString("Lines"));
    // Present but empty: the message becomes empty, it does not fall back.
    EXPECT_TRUE(texts.text("mes1").isEmpty());
    EXPECT_TRUE(texts.text("st4").isEmpty());
    // Missing: the built-in text, whatever an earlier language had set.
    EXPECT_EQ(texts.text("m8"), MessageTexts::defaultText("m8"));
    EXPECT_EQ(texts.text("st3"), MessageTexts::defaultText("st3"));
    EXPECT_EQ(texts.text("mes6"), QString::fromUtf8("Неверно заданы страницы"));
}

TEST_F(LanguageFileTest, EditorCaptionKeysChangeOnlyWhenTheFileGivesAText)
{
    MessageTexts texts;
    LanguageFile::loadMessages(write("a.lng", "[OCR]\ncap=OCR editor\nb1=Save DjVu\n"), texts);
    EXPECT_EQ(texts.text("cap"), QString("OCR editor"));
    EXPECT_EQ(texts.text("b1"), QString("Save DjVu"));
    EXPECT_TRUE(texts.text("b2").isEmpty()); // none given yet: the editor keeps its own

    // A second language that leaves them empty or out keeps the first one's captions.
    LanguageFile::loadMessages(write("b.lng", "[OCR]\ncap=\nb2=Schrift\n"), texts);
    EXPECT_EQ(texts.text("cap"), QString("OCR editor"));
    EXPECT_EQ(texts.text("b1"), QString("Save DjVu"));
    EXPECT_EQ(texts.text("b2"), QString("Schrift"));
}

TEST_F(LanguageFileTest, AMissingFileSetsEveryMessageToItsDefault)
{
    MessageTexts texts;
    for (const MessageKey key : MessageTexts::memoKeys() + MessageTexts::ocrKeys())
        texts.setText(key, "x");
    LanguageFile::loadMessages(dir.filePath("Gone.lng"), texts);
    for (const MessageKey key : MessageTexts::memoKeys())
        EXPECT_EQ(texts.text(key), MessageTexts::defaultText(key)) << key.name();
    for (const MessageKey key :
         {MessageKey("st1"), MessageKey("st2"), MessageKey("st3"), MessageKey("st4")})
        EXPECT_EQ(texts.text(key), MessageTexts::defaultText(key)) << key.name();
    for (const MessageKey key :
         {MessageKey("cap"), MessageKey("b1"), MessageKey("b2"), MessageKey("l1")})
        EXPECT_EQ(texts.text(key), QString("x")) << key.name();
}

TEST_F(LanguageFileTest, NamesMatchWithoutCaseAndWindowsFilesAreRead)
{
    QByteArray cp1251;
    ASSERT_TRUE(
        Cp1251::encode(QString::fromUtf8("[memo]\nMES3=Ошибка!\n[ocr]\nST1=Пусто\n"), &cp1251));
    MessageTexts texts;
    LanguageFile::loadMessages(write("win.lng", cp1251), texts);
    EXPECT_EQ(texts.text("mes3"), QString::fromUtf8("Ошибка!"));
    EXPECT_EQ(texts.text("st1"), QString::fromUtf8("Пусто"));

    // A file saved by an editor that puts a byte order mark first.
    LanguageFile::loadMessages(write("bom.lng", "\xEF\xBB\xBF[Memo]\nm7=fertig\n"), texts);
    EXPECT_EQ(texts.text("m7"), QString("fertig"));
}

TEST_F(LanguageFileTest, NoteBoxStartsAfreshOnlyWithATitle)
{
    const QStringList current{"old 1", "old 2"};
    const IniFile full(write("full.lng", "[edit]\nm1=Note\nm2=one\nm3=\nm4=three\n"));
    EXPECT_EQ(LanguageFile::noteLines(full, current),
              (QStringList{QString(20, ' ') + "Note", "  one", "  three"}));

    // Without a title the given lines are added below what the box shows.
    const IniFile noTitle(write("notitle.lng", "[edit]\nm1=\nm3=more\n"));
    EXPECT_EQ(LanguageFile::noteLines(noTitle, current), (QStringList{"old 1", "old 2", "  more"}));

    const IniFile none(write("none.lng", "[Main]\nname=X\n"));
    EXPECT_EQ(LanguageFile::noteLines(none, current), current);
}

TEST_F(LanguageFileTest, DropDownItemsAreReplacedOnlyWhenTheFirstKeyIsGiven)
{
    const QStringList kinds{"A", "B", "C"};
    const QStringList keys{"c31", "c32", "c33"};

    const IniFile secondOnly(write("c32.lng", "[create]\nc31=\nc32=Index\n"));
    EXPECT_EQ(LanguageFile::listItems(secondOnly, "create", keys, kinds),
              (QStringList{"A", "B", "C", "Index"}));

    const IniFile all(write("all.lng", "[create]\nc31=x\nc32=y\nc33=z\n"));
    EXPECT_EQ(LanguageFile::listItems(all, "create", keys, kinds), (QStringList{"x", "y", "z"}));

    const IniFile firstOnly(write("c31.lng", "[create]\nc31=x\nc33=\n"));
    EXPECT_EQ(LanguageFile::listItems(firstOnly, "create", keys, kinds), (QStringList{"x"}));

    const IniFile none(write("none.lng", "[create]\n"));
    EXPECT_EQ(LanguageFile::listItems(none, "create", keys, kinds), kinds);
}

} // namespace
