#include "test_language_captions.h"

#include "DjvuFixture.h"

#include "base/IniFile.h"
#include "base/MessageTexts.h"
#include "djvu/ToolRunner.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

// The two language files that travel with the program, chosen from the menu of the real
// window: English relabels everything, Russian brings every built-in text back.

using namespace language_test;

namespace {

class ShippedLanguagesInTheWindow : public ::testing::Test
{
protected:
    QTemporaryDir exe;
    std::unique_ptr<TForm1> form;

    void SetUp() override
    {
        const QDir languages(QDir(exe.path()).filePath("language"));
        ASSERT_TRUE(languages.mkpath("."));
        for (const char* name : {"English.lng", "Russian.lng"}) {
            ASSERT_TRUE(QFile::copy(QStringLiteral(TOCSMITH_SOURCE_DIR "/language/") + name,
                                    languages.filePath(name)));
        }
        form = std::make_unique<TForm1>(exe.path());
        form->dialogs.messageBox = [](const QString&, const QString&) {};
    }

    void choose(const QString& caption)
    {
        for (QAction* a : form->Language1->actions()) {
            if (a->text() == caption) {
                a->trigger();
                return;
            }
        }
        ADD_FAILURE() << "no language entry " << caption.toStdString();
    }

    QString shipped(const char* name) const
    {
        return QDir(exe.path()).filePath(QStringLiteral("language/") + name);
    }
};

TEST_F(ShippedLanguagesInTheWindow, EnglishAndBackToRussianLeaveEveryCaptionRight)
{
    const Captions builtIn = captionsOf(*form);
    ASSERT_GT(builtIn.size(), 100);

    choose("&English");
    const Captions english = captionsOf(*form);
    EXPECT_EQ(english.keys(), builtIn.keys());
    const QRegularExpression cyrillic("[\\x{0400}-\\x{04FF}]");
    for (auto it = english.begin(); it != english.end(); ++it) {
        if (form->languageDisplayNames.contains(it.value()))
            continue; // the menu offers each language under its own name
        EXPECT_FALSE(it.value().contains(cyrillic))
            << it.key().toStdString() << ": " << it.value().toStdString();
    }
    EXPECT_EQ(misplacedLabels(*form), QStringList());
    const IniFile englishFile(shipped("English.lng"));
    for (const MessageKey key : MessageTexts::memoKeys()) {
        EXPECT_EQ(form->texts.text(key), englishFile.readText("Memo", key.name())) << key.name();
    }
    for (const MessageKey key : MessageTexts::ocrKeys()) {
        EXPECT_EQ(form->texts.text(key), englishFile.readText("OCR", key.name())) << key.name();
    }

    choose(QString::fromUtf8("&Русский"));
    EXPECT_EQ(changed(builtIn, captionsOf(*form)), QStringList());
    EXPECT_EQ(misplacedLabels(*form), QStringList());
    for (const MessageKey key : MessageTexts::memoKeys()) {
        EXPECT_EQ(form->texts.text(key), MessageTexts::defaultText(key)) << key.name();
    }
    EXPECT_EQ(form->texts.text("cap"), QString::fromUtf8("Редактор OCR"));
    EXPECT_EQ(form->texts.text("b1"), QString::fromUtf8("Сохранить DjVu"));
    EXPECT_EQ(form->texts.text("b2"), QString::fromUtf8("Шрифт"));
    EXPECT_EQ(form->texts.text("l1"), QString::fromUtf8("Страница"));
    EXPECT_EQ(form->texts.text("st1"), MessageTexts::defaultText("st1"));
}

// The editor takes its captions from the language each time it opens: English after English
// was chosen, its own Russian captions again after Russian.
TEST_F(ShippedLanguagesInTheWindow, TheEditorWindowFollowsTheChosenLanguage)
{
    QTemporaryDir books;
    const QString book = books.filePath("book.djvu");
    QList<FixturePage> pages(1);
    pages[0].lines << FixtureLine::layout(200, 3000, {"abc", "def"});
    QString error;
    ASSERT_TRUE(DjvuFixture::build(book, pages, &error)) << error.toStdString();
    TForm5* editor = form->Form5;
    editor->setMessageShower(
        [](const QString& text, const QString&) { ADD_FAILURE() << text.toStdString(); });

    const auto captionsAfterLoading = [&] {
        EXPECT_TRUE(editor->loadDocument(book, form->toolRunner(), form->texts));
        QStringList captions{editor->windowTitle()};
        for (const QAbstractButton* b : editor->findChildren<QAbstractButton*>())
            captions << b->text();
        for (const QLabel* l : editor->findChildren<QLabel*>())
            captions << l->text();
        return captions;
    };

    choose("&English");
    const QStringList english = captionsAfterLoading();
    EXPECT_TRUE(english.contains("OCR editor"));
    EXPECT_TRUE(english.contains("Save DjVu"));
    EXPECT_TRUE(english.contains("Font"));
    EXPECT_TRUE(english.contains("Page"));
    EXPECT_EQ(editor->statusText(), QString("Lines = 1; Words = 2."));

    choose(QString::fromUtf8("&Русский"));
    const QStringList russian = captionsAfterLoading();
    EXPECT_TRUE(russian.contains(QString::fromUtf8("Редактор OCR")));
    EXPECT_TRUE(russian.contains(QString::fromUtf8("Сохранить DjVu")));
    EXPECT_TRUE(russian.contains(QString::fromUtf8("Шрифт")));
    EXPECT_TRUE(russian.contains(QString::fromUtf8("Страница")));
    EXPECT_EQ(editor->statusText(), QString::fromUtf8("Строк = 1; Слов = 2."));
}

// Pictures of the three tabs in English, for people to look at. Taken only when
// TOCSMITH_SCREENSHOTS names a folder (run under a real X server such as Xvfb).
TEST_F(ShippedLanguagesInTheWindow, ScreenshotsOfTheThreeTabsInEnglish)
{
    const QString folder = qEnvironmentVariable("TOCSMITH_SCREENSHOTS");
    if (folder.isEmpty())
        GTEST_SKIP() << "set TOCSMITH_SCREENSHOTS to a folder to take the pictures";
    choose("&English");
    form->show();
    const char* names[] = {"english-edit.png", "english-create.png", "english-contents-link.png"};
    for (int tab = 0; tab < 3; ++tab) {
        form->PageControl1->setCurrentIndex(tab);
        QApplication::processEvents();
        EXPECT_TRUE(form->grab().save(QDir(folder).filePath(names[tab])));
    }
}

} // namespace
