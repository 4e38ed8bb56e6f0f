#include "test_main_window_harness.h"

#include "DjvuFixture.h"
#include "base/EngineTexts.h"
#include "base/Plural.h"
#include "links/CreatePass.h"
#include "ui/ocr/Unit5.h"
#include "ui/tabs/CreateTab.h"
#include "ui/tabs/FixListTab.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QThread>
#include <QTimer>
#include <thread>

namespace {

QString area(int x, int y, int w, int h)
{
    return QStringLiteral("(maparea \"#p0002.djvu\" \"\" (rect %1 %2 %3 %4) (xor))")
        .arg(x)
        .arg(y)
        .arg(w)
        .arg(h);
}

class PassWiringTest : public WindowTest
{
protected:
    QTemporaryDir books;
    bool boxOnWindowThread = true;

    QString book(const QString& name)
    {
        FixturePage page;
        page.annotations = area(100, 900, 300, 40) + '\n' + area(110, 800, 250, 40);
        const QString path = QDir(books.path()).filePath(name);
        QString error;
        EXPECT_TRUE(DjvuFixture::build(path, {page, FixturePage{}}, &error)) << error.toStdString();
        return path;
    }
    QString notDjvu(const QString& name)
    {
        const QString path = QDir(books.path()).filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("plain text with a .djvu name\n");
        return path;
    }
    void SetUp() override
    {
        startShown();
        duringMessage = [this] {
            boxOnWindowThread =
                boxOnWindowThread && QThread::currentThread() == QApplication::instance()->thread();
        };
    }
};

TEST_F(PassWiringTest, AFixPassThatRunsToItsEndAppliesTheEndOptions)
{
    const QString path = book("Книга.djvu");
    FixListTab* tab = form->TabSheet1;
    tab->open1(path);
    tab->CheckBox2->setChecked(true);
    tab->CheckBox1->setChecked(true);
    tab->CheckBox3->setChecked(false);
    tab->xpButton4->click();
    form->waitForPass();

    EXPECT_TRUE(messages.isEmpty()) << messages.join('|').toStdString();
    EXPECT_TRUE(DjvuFixture::djvused(path, "output-ant").contains("(rect 100 800 300 40)"));
    EXPECT_EQ(form->fixList.count(), 0);
    EXPECT_TRUE(form->Memo2->toPlainText().contains(form->texts.text("m7")));
    EXPECT_FALSE(form->isVisible()); // "Закрыть по завершению"
    EXPECT_EQ(IniFile(iniPath()).readText("Edit", "Close"), QStringLiteral("1"));
    EXPECT_FALSE(QFile::exists(path + ".backup"));
}

TEST_F(PassWiringTest, AFixPassStoppedByAFailureKeepsTheListAndTheWindow)
{
    const QString bad = notDjvu("bad.djvu");
    const QString good = book("good.djvu");
    FixListTab* tab = form->TabSheet1;
    tab->open1(bad);
    tab->open1(good);
    tab->CheckBox2->setChecked(true);
    tab->CheckBox1->setChecked(true);
    form->Button1Click();
    form->waitForPass();

    EXPECT_EQ(messages.size(), 1);
    EXPECT_TRUE(boxOnWindowThread);
    EXPECT_EQ(form->fixList.count(), 2);
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(DjvuFixture::djvused(good, "output-ant").contains("(rect 100 800 300 40)"));
}

// What a pass tells is kept while it runs and comes in one box at its end; between passes
// (the editor's tools) a notice is shown at once.
TEST_F(PassWiringTest, WhatAPassToldComesInOneBoxAtItsEnd)
{
    form->notices.beginRun(form->texts);
    std::thread worker([this] {
        form->notices.notice({PassNotice::Kind::ToolNotStarted, "djvused", "djvused: not found"});
        form->notices.notice({PassNotice::Kind::DocumentFailed, "/a.djvu", "/a.djvu: no text"});
    });
    worker.join();
    EXPECT_TRUE(messages.isEmpty());
    form->notices.endRun();
    EXPECT_EQ(messages, QStringList{"djvused: not found\n\n/a.djvu: no text"});
    form->notices.notice({PassNotice::Kind::NoFiles, {}, {}});
    EXPECT_EQ(messages.value(1), form->texts.text("mes1"));
}

TEST_F(PassWiringTest, ClosingDuringAPassAsksThenStopsIt)
{
    const QString path = book("A.djvu");
    const QByteArray before = DjvuFixture::readAll(path);
    // The saving run sleeps until it is killed, so the pass is surely mid-way at the close.
    QTemporaryDir markers;
    ASSERT_TRUE(DjvuFixture::writeSleepingDjvused(exe.path(), "-s", markers.filePath("begun")));
    form->TabSheet1->open1(path);
    form->TabSheet1->CheckBox3->setChecked(false);
    form->Button1Click();
    ASSERT_TRUE(form->passRunning());
    while (!QFile::exists(markers.filePath("begun")))
        QThread::msleep(5);
    form->close();
    EXPECT_EQ(questions.size(), 1);
    EXPECT_TRUE(form->isVisible()); // the end of the pass is handled on this thread, later
    form->waitForPass();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(DjvuFixture::readAll(path), before);
    EXPECT_TRUE(messages.isEmpty()) << messages.join('|').toStdString();
    EXPECT_TRUE(QFile::exists(iniPath()));
}

} // namespace

namespace {

class CreateWiringTest : public PassWiringTest
{
protected:
    // A contents page (page 2) whose entries lead to pages 1, 4 and 9 of the printed book.
    QString contentsBook(const QString& name)
    {
        FixturePage contents;
        contents.lines << FixtureLine::layout(900, 3200, {"Оглавление"});
        contents.lines << FixtureLine::layout(300, 3100, {"Глава", "1.", "Введение", "....", "1"});
        contents.lines << FixtureLine::layout(300, 3000, {"Глава", "2.", "Основы", "....", "4"});
        contents.lines << FixtureLine::layout(300, 2900, {"Глава", "3.", "Итоги", "....", "9"});
        QList<FixturePage> pages{FixturePage{}, contents};
        for (int i = 0; i < 10; ++i)
            pages << FixturePage{};
        const QString path = QDir(books.path()).filePath(name);
        QString error;
        EXPECT_TRUE(DjvuFixture::build(path, pages, &error)) << error.toStdString();
        return path;
    }
    // The books, each given the outline "Old", run with the outline box on; the outline
    // question gets these answers in turn.
    void runOutlineRows(const QStringList& paths, const QList<OutlineAnswer>& answers)
    {
        QString error;
        for (const QString& path : paths)
            ASSERT_TRUE(DjvuFixture::setOutline(path, R"((bookmarks ("Old" "#1")))", &error))
                << error.toStdString();
        CreateTab* tab = form->TabSheet2;
        tab->Edit1->setText("2");
        tab->Edit2->setText("2");
        tab->CheckBox14->setChecked(false);
        tab->outlineCheckBox->setChecked(true);
        form->PageControl1->setCurrentWidget(tab);
        for (const QString& path : paths)
            drop({path});
        threeWayAnswers = answers;
        tab->Button3->click();
        form->waitForPass();
    }
};

TEST_F(CreateWiringTest, TheCreateButtonRunsTheRowsAndAlignmentEmptiesTheFixList)
{
    const QString path = contentsBook("Книга.djvu");
    CreateTab* tab = form->TabSheet2;
    tab->Edit1->setText("2");
    tab->Edit2->setText("2");
    tab->Edit3->setText("2");
    tab->CheckBox14->setChecked(false);
    tab->CheckBox7->setChecked(true);
    tab->CheckBox4->setChecked(true);
    form->PageControl1->setCurrentWidget(tab);
    drop({path});
    form->TabSheet1->open1(QStringLiteral("/elsewhere/Other.djvu"));
    tab->Button3->click();
    form->waitForPass();

    EXPECT_TRUE(messages.isEmpty()) << messages.join('|').toStdString();
    const QString links = DjvuFixture::djvused(path, "select 2; print-ant");
    EXPECT_EQ(links.count("maparea"), 3) << links.toStdString();
    EXPECT_TRUE(links.contains("#11")) << links.toStdString();
    EXPECT_EQ(form->createList.count(), 0); // "Очистить список по завершению"
    EXPECT_EQ(form->fixList.count(), 0); // alignment went through the Fix list
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(QFile::exists(path + ".backup"));
}

TEST_F(CreateWiringTest, TheOutlineBoxWritesTheOutlineAndAnOldOneIsAskedAboutOncePerRun)
{
    const QString first = contentsBook("first.djvu");
    const QString second = contentsBook("second.djvu");
    runOutlineRows({first, second}, {OutlineAnswer::YesToAll});

    EXPECT_TRUE(messages.isEmpty()) << messages.join('|').toStdString();
    ASSERT_EQ(threeWayQuestions.size(), 1); // "Yes to all" answers for the second book too
    EXPECT_EQ(threeWayQuestions.first(),
              form->texts.text("mes8").arg(first, Plural::count("e_n_bookmarks", 1)));
    EXPECT_TRUE(threeWayOnWindowThread);
    for (const QString& path : {first, second}) {
        const QString outline = DjvuFixture::djvused(path, "print-outline");
        EXPECT_EQ(outline.count("(\""), 3) << outline.toStdString();
        EXPECT_FALSE(outline.contains("Old")) << outline.toStdString();
    }
}

TEST_F(CreateWiringTest, ABookWhoseOutlineTheUserKeepsShowsSkippedWithTheReason)
{
    const QString kept = contentsBook("kept.djvu");
    QString error;
    ASSERT_TRUE(DjvuFixture::setOutline(kept, R"((bookmarks ("Old" "#1")))", &error))
        << error.toStdString();
    const QByteArray before = DjvuFixture::readAll(kept);
    CreateTab* tab = form->TabSheet2;
    tab->Edit1->setText("2");
    tab->Edit2->setText("2");
    tab->CheckBox14->setChecked(false);
    tab->outlineCheckBox->setChecked(true);
    form->PageControl1->setCurrentWidget(tab);
    drop({kept});
    threeWayAnswers = {OutlineAnswer::No};
    tab->Button3->click();
    form->waitForPass();

    const QAbstractItemModel& list = form->createList;
    EXPECT_TRUE(list.index(0, 0).data().toString().startsWith(QStringLiteral("\u21B7 ")))
        << list.index(0, 0).data().toString().toStdString();
    const QString tip = list.index(0, 0).data(Qt::ToolTipRole).toString();
    EXPECT_TRUE(tip.startsWith(
        EngineTexts::say("e_row_skipped") + ": " +
        EngineTexts::say("e_outline_declined").arg(kept, Plural::count("e_n_bookmarks", 1))))
        << tip.toStdString();
    EXPECT_EQ(form->summaryLabel->text(),
              Plural::count("e_summary_changed", 0) + ", " + Plural::count("e_summary_skipped", 1));
    EXPECT_EQ(DjvuFixture::readAll(kept), before);
}

TEST_F(CreateWiringTest, MergeKeepsTheOldOutlineAndSkipLeavesTheBookAsItWas)
{
    const QString merged = contentsBook("merged.djvu");
    const QString skipped = contentsBook("skipped.djvu");
    runOutlineRows({merged, skipped}, {OutlineAnswer::Merge, OutlineAnswer::No});
    EXPECT_TRUE(messages.isEmpty()) << messages.join('|').toStdString();
    EXPECT_EQ(threeWayQuestions.size(), 2);
    const QString outline = DjvuFixture::djvused(merged, "print-outline");
    EXPECT_EQ(outline.count("(\""), 4) << outline.toStdString();
    EXPECT_TRUE(outline.contains("Old")) << outline.toStdString();
    EXPECT_EQ(DjvuFixture::djvused(skipped, "print-outline").count("(\""), 1);
    EXPECT_TRUE(DjvuFixture::djvused(skipped, "select 2; print-ant").isEmpty());
}

TEST_F(CreateWiringTest, TheEditTabsCloseOptionEndsTheProgramAfterAnAlignedCreatePass)
{
    const QString path = contentsBook("A.djvu");
    CreateTab* tab = form->TabSheet2;
    tab->Edit1->setText("2");
    tab->Edit2->setText("2");
    tab->CheckBox7->setChecked(true);
    tab->CheckBox6->setChecked(false);
    form->TabSheet1->CheckBox1->setChecked(true);
    tab->open2(path);
    form->Button3Click();
    form->waitForPass();
    EXPECT_TRUE(messages.isEmpty()) << messages.join('|').toStdString();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->createList.count(), 1); // its own "clear" was not asked for
}

} // namespace

namespace {

TEST_F(PassWiringTest, OpenInEditorShowsTheSelectedRowsDocumentInTheEditorWindow)
{
    FixturePage page;
    page.lines << FixtureLine::layout(300, 3000, {"Первая", "строка"});
    const QString path = QDir(books.path()).filePath("Текст.djvu");
    QString error;
    ASSERT_TRUE(DjvuFixture::build(path, {page, page}, &error)) << error.toStdString();
    form->TabSheet2->open2(path);
    form->TabSheet2->open2(QStringLiteral("/elsewhere/Other.djvu"));
    form->TabSheet2->ListView2->selectRow(0);

    // Closes the editor as soon as it is up (it lets events through before it shows).
    QString shown;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&shown, &closer] {
        if (auto* editor = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            shown = editor->windowTitle();
            closer.stop();
            editor->reject();
        }
    });
    closer.start(10);
    form->TabSheet2->N2->trigger();
    EXPECT_FALSE(shown.isNull()) << "the editor was not shown modally";
    EXPECT_TRUE(messages.isEmpty()) << messages.join('|').toStdString();
    EXPECT_TRUE(form->Memo2->toPlainText().contains(form->texts.text("m12")));
    EXPECT_FALSE(form->Form5->isVisible());
}

} // namespace
