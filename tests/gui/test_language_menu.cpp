#include "test_language_captions.h"

#include "base/IniFile.h"
#include "base/MessageTexts.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

using namespace language_test;

namespace {

class LanguageMenuTest : public ::testing::Test
{
protected:
    QTemporaryDir exe;

    void SetUp() override { ASSERT_TRUE(QDir(exe.path()).mkpath("language")); }

    QString languageFolder() const { return QDir(exe.path()).filePath("language"); }

    void put(const QString& name, const QByteArray& bytes)
    {
        QFile f(QDir(languageFolder()).filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    void putShipped(const QString& name)
    {
        ASSERT_TRUE(QFile::copy(QStringLiteral(TOCSMITH_SOURCE_DIR "/language/") + name,
                                QDir(languageFolder()).filePath(name)));
    }

    std::unique_ptr<TForm1> start() const
    {
        auto form = std::make_unique<TForm1>(exe.path());
        form->dialogs.messageBox = [](const QString&, const QString&) {};
        return form;
    }

    QString remembered() const
    {
        return IniFile(QDir(exe.path()).filePath("Tocsmith.ini")).readText("Menu", "language");
    }

    // The language files in the order the file system lists them.
    QStringList directoryOrder() const
    {
        QStringList names;
        QDirIterator it(languageFolder(), {"*.lng"}, QDir::Files);
        while (it.hasNext())
            names << QFileInfo(it.next()).fileName();
        return names;
    }

    static QStringList entryCaptions(const TForm1& form)
    {
        QStringList captions;
        for (const QAction* a : form.Language1->actions())
            captions << a->text();
        return captions;
    }

    static void choose(TForm1& form, const QString& caption)
    {
        for (QAction* a : form.Language1->actions()) {
            if (a->text() == caption) {
                a->trigger();
                return;
            }
        }
        ADD_FAILURE() << "no language entry " << caption.toStdString();
    }

    static void expectDefaultMessages(const TForm1& form)
    {
        for (const MessageKey key : MessageTexts::memoKeys()) {
            EXPECT_EQ(form.texts.text(key), MessageTexts::defaultText(key)) << key.name();
        }
        for (const MessageKey key : MessageTexts::ocrKeys().mid(0, 4))
            EXPECT_EQ(form.texts.text(key), MessageTexts::defaultText(key)) << key.name();
    }
};

const QByteArray kDeutsch =
    "[Main]\nname=Deutsch\n"
    "[Menu]\nN7=Optionen\nN1=Entfernen\n"
    "[edit]\nTT1=Bearbeiten\nL10=Pfad\n"
    "[create]\nl9=Art der Arbeit\nc31=Inhalt\nc32=Register 1\nc33=Register 2\n"
    "[OCR]\ncap=OCR-Editor\n"
    "[Memo]\nmes1=Keine Datei gewählt!\nm7=\n";

TEST_F(LanguageMenuTest, TwoLanguagesAreOfferedInDirectoryOrderAndNoneIsApplied)
{
    put("English.lng", "[Main]\nname=English\n[edit]\nTT1=Edit\n");
    put("Deutsch.lng", kDeutsch);
    put("Nameless.lng", "[edit]\nTT1=Nobody\n");
    QStringList expected;
    for (const QString& name : directoryOrder()) {
        if (name != "Nameless.lng")
            expected << "&" + name.chopped(4);
    }

    const auto form = start();
    EXPECT_EQ(entryCaptions(*form), expected);
    for (const QAction* a : form->Language1->actions()) {
        EXPECT_TRUE(a->isVisible());
        EXPECT_TRUE(a->isCheckable()); // it carries the mark of the language in use
        EXPECT_FALSE(a->isChecked());
    }
    EXPECT_TRUE(form->currentLanguage.isEmpty());
    EXPECT_EQ(form->PageControl1->tabText(0), QString::fromUtf8("Редактировать"));
    expectDefaultMessages(*form);
}

TEST_F(LanguageMenuTest, AChosenLanguageRelabelsTheWindowAndIsAppliedAgainAtTheNextStart)
{
    put("English.lng", "[Main]\nname=English\n[edit]\nTT1=Edit\nTT2=Create\n");
    put("Deutsch.lng", kDeutsch);

    const auto expectDeutsch = [](const TForm1& form) {
        EXPECT_EQ(form.currentLanguage, QString("Deutsch.lng"));
        EXPECT_EQ(form.PageControl1->tabText(0), QString("Bearbeiten"));
        EXPECT_EQ(form.PageControl1->tabText(1), QString::fromUtf8("Создать"));
        EXPECT_EQ(form.N7->title(), QString("Optionen"));
        EXPECT_EQ(form.TabSheet1->N1->text(), QString("Entfernen"));
        EXPECT_EQ(form.TabSheet2->deleteAction->text(), QString("Entfernen"));
        EXPECT_EQ(form.fixList.headerData(0, Qt::Horizontal).toString(), QString("Pfad"));
        EXPECT_EQ(form.createList.headerData(0, Qt::Horizontal).toString(), QString("Pfad"));
        EXPECT_EQ(form.TabSheet2->labelKindOfWork->text(), QString("Art der Arbeit"));
        EXPECT_EQ(form.TabSheet2->ComboBox3->currentText(), QString("Inhalt"));
        EXPECT_EQ(form.texts.text("mes1"), QString::fromUtf8("Keine Datei gewählt!"));
        EXPECT_TRUE(form.texts.text("m7").isEmpty()); // given empty: stays empty
        EXPECT_EQ(form.texts.text("m8"), MessageTexts::defaultText("m8"));
        EXPECT_EQ(form.texts.text("cap"), QString("OCR-Editor"));
        EXPECT_EQ(misplacedLabels(form), QStringList());
    };

    auto form = start();
    choose(*form, "&Deutsch");
    expectDeutsch(*form);
    form.reset(); // exit writes the settings
    EXPECT_EQ(remembered(), QString("Deutsch.lng"));

    form = start();
    expectDeutsch(*form);

    // A second language changes only what it gives; the rest keeps the first one's texts,
    // while every message takes the new file's text or its default.
    choose(*form, "&English");
    EXPECT_EQ(form->currentLanguage, QString("English.lng"));
    EXPECT_EQ(form->PageControl1->tabText(0), QString("Edit"));
    EXPECT_EQ(form->PageControl1->tabText(1), QString("Create"));
    EXPECT_EQ(form->N7->title(), QString("Optionen"));
    EXPECT_EQ(form->TabSheet2->ComboBox3->itemText(1), QString("Register 1"));
    expectDefaultMessages(*form);
    EXPECT_EQ(form->texts.text("cap"), QString("OCR-Editor"));
    form.reset();
    EXPECT_EQ(remembered(), QString("English.lng"));
}

TEST_F(LanguageMenuTest, OfTwoFilesWithTheSameNameTheOneListedLaterIsApplied)
{
    put("one.lng", "[Main]\nname=Twin\n[edit]\nTT1=from one\n");
    put("two.lng", "[Main]\nname=Twin\n[edit]\nTT1=from two\n");
    const QString later = directoryOrder().last();

    for (int entry = 0; entry < 2; ++entry) {
        const auto form = start();
        ASSERT_EQ(entryCaptions(*form), (QStringList{"&Twin", "&Twin"}));
        form->Language1->actions().at(entry)->trigger();
        EXPECT_EQ(form->currentLanguage, later);
        EXPECT_EQ(form->PageControl1->tabText(0), "from " + later.chopped(4));
    }
}

TEST_F(LanguageMenuTest, AFileGivingOnlyTheFirstTabChangesThatCaptionAndResetsEveryMessage)
{
    putShipped("English.lng");
    put("Tab.lng", "[Main]\nname=Tab only\n[edit]\nTT1=First tab\n");
    const auto form = start();
    choose(*form, "&English");
    const Captions english = captionsOf(*form);
    EXPECT_EQ(form->texts.text("mes1"), QString("No file is selected!"));

    choose(*form, "&Tab only");
    const QStringList differ = changed(english, captionsOf(*form));
    ASSERT_EQ(differ.size(), 1);
    EXPECT_TRUE(differ.first().startsWith("tab "));
    EXPECT_EQ(form->PageControl1->tabText(0), QString("First tab"));
    expectDefaultMessages(*form);
    // The editor keeps the captions it was last given.
    EXPECT_EQ(form->texts.text("cap"), QString("OCR editor"));
}

TEST_F(LanguageMenuTest, AnEmptyFirstItemAddsTheOthersToTheKindOfWorkList)
{
    put("Extra.lng", "[Main]\nname=Extra\n[create]\nc31=\nc32=Register\nc21=\nc11=\n");
    const auto form = start();
    choose(*form, "&Extra");
    QComboBox* kinds = form->TabSheet2->ComboBox3;
    ASSERT_EQ(kinds->count(), 4);
    EXPECT_EQ(kinds->itemText(0), QString::fromUtf8("Содержание"));
    EXPECT_EQ(kinds->itemText(2), QString::fromUtf8("Алфавитный указатель 2"));
    EXPECT_EQ(kinds->itemText(3), QString("Register"));
    EXPECT_EQ(kinds->currentIndex(), 0);
    EXPECT_EQ(form->TabSheet2->ComboBox2->count(), 2);
    EXPECT_EQ(form->TabSheet3->ComboBox4->count(), 7);
}

TEST_F(LanguageMenuTest, ChosenPositionsOfTheDropDownListsSurviveALanguageChange)
{
    putShipped("English.lng");
    QTemporaryDir books;
    const auto form = start();
    CreateTab* c = form->TabSheet2;
    ContentsLinkTab* l = form->TabSheet3;
    c->ComboBox3->setCurrentIndex(2);
    c->ComboBox3Change();
    c->open2(books.filePath("book.djvu"));
    c->ComboBox1->setCurrentIndex(4);
    c->ComboBox2->setCurrentIndex(0);
    l->ComboBox5->setCurrentIndex(1);
    l->ComboBox4->setCurrentIndex(2);
    const QStringList row = form->createList.at(0).columns;
    ASSERT_EQ(row.value(4), QString("2"));

    choose(*form, "&English");
    EXPECT_EQ(c->ComboBox3->currentIndex(), 2);
    EXPECT_EQ(c->ComboBox3->currentText(), QString("Alphabetical index 2"));
    EXPECT_EQ(c->ComboBox1->currentIndex(), 4);
    EXPECT_EQ(c->ComboBox1->currentText(), QString("Shadow out"));
    EXPECT_EQ(c->ComboBox2->currentText(), QString("Rectangle"));
    EXPECT_EQ(l->ComboBox5->currentText(), QString("Oval"));
    EXPECT_EQ(l->ComboBox4->currentText(), QString("Plain border"));
    // Relabelling the lists is no choice of the user's: the row keeps its values.
    EXPECT_EQ(form->createList.at(0).columns, row);
}

TEST_F(LanguageMenuTest, ARememberedLanguageFileThatIsGoneLeavesEveryCaptionAndDefaultMessages)
{
    put("English.lng", "[Main]\nname=English\n[edit]\nTT1=Edit\n");
    const Captions builtIn = captionsOf(*start());
    QFile::remove(QDir(exe.path()).filePath("Tocsmith.ini"));

    {
        QFile ini(QDir(exe.path()).filePath("Tocsmith.ini"));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[Menu]\nlanguage=Gone.lng\n");
    }
    auto form = start();
    EXPECT_EQ(form->currentLanguage, QString("Gone.lng"));
    EXPECT_EQ(changed(builtIn, captionsOf(*form)), QStringList());
    expectDefaultMessages(*form);
    form.reset();
    EXPECT_EQ(remembered(), QString("Gone.lng"));
}

TEST_F(LanguageMenuTest, NoLanguageFolderGivesAnEmptyMenu)
{
    ASSERT_TRUE(QDir(languageFolder()).removeRecursively());
    const auto form = start();
    EXPECT_TRUE(form->Language1->actions().isEmpty());
    EXPECT_EQ(form->Language1->title(), QString::fromUtf8("Язык/Language"));
}

} // namespace
