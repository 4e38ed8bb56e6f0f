#include "test_main_window_harness.h"

#include "base/ColourText.h"
#include "djvu/ToolRunner.h"
#include "ui/tabs/ContentsLinkTab.h"
#include "ui/tabs/CreateTab.h"
#include "ui/tabs/FixListTab.h"
#include "ui/widgets/ColourSwatch.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTableView>
#include <QUrl>

namespace {

// Every key the window writes at exit, with the text a first run writes.
const QList<std::pair<QString, QString>> kFirstRunKeys = {
    {"Create/Close", "0"},         {"Create/Clear", "0"},
    {"Create/Backup", "1"},        {"Create/Edit", "0"},
    {"Create/OCR", "0"},           {"Create/Vis", "0"},
    {"Create/hlite", "0"},         {"Create/oglav", "1"},
    {"Create/all_page", "0"},      {"Create/oglav_1", "1"},
    {"Create/oglav_2", "100"},     {"Create/oglav_3", "50"},
    {"Create/oglav_4", "500"},     {"Create/oglav_5", "50"},
    {"Create/oglav_6", "4"},       {"Create/oglav_7", "Go to content"},
    {"Create/goto", "Go to page"}, {"Create/oglav_8", "0"},
    {"Create/oglav_9", "000000"},  {"Create/oglav_10", "000000"},
    {"Create/color1", "000000"},   {"Create/color2", "000000"},
    {"Create/Prov", "1"},          {"Edit/Close", "0"},
    {"Edit/Clear", "0"},           {"Edit/Backup", "1"},
    {"Menu/language", ""},         {"Menu/Top", "0"},
    {"Menu/Protokol", "0"},        {"Create/recognise", "1"},
};

TEST_F(WindowTest, FirstStartWithoutASettingsFileShowsTheFirstRunState)
{
    startShown();
    EXPECT_FALSE(QFile::exists(iniPath())) << "start-up never creates the settings file";
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Tocsmith v. 0.8"));
    EXPECT_EQ(form->PageControl1->currentWidget(), form->TabSheet2);
    EXPECT_TRUE(form->N8->isChecked());
    EXPECT_TRUE(form->N9->isChecked());
    EXPECT_TRUE(form->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(form->outerHeight(), 508);
    EXPECT_EQ(form->width(), 561);
    EXPECT_EQ(form->Memo2->height(), 135);
    EXPECT_TRUE(form->acceptDrops());

    const CreateTab* c = form->TabSheet2;
    const ContentsLinkTab* l = form->TabSheet3;
    EXPECT_TRUE(c->CheckBox6->isChecked());
    EXPECT_TRUE(form->TabSheet1->CheckBox3->isChecked());
    EXPECT_TRUE(c->CheckBox14->isChecked());
    EXPECT_TRUE(c->CheckBox16->isChecked());
    for (const QCheckBox* box :
         {c->CheckBox4, c->CheckBox5, c->CheckBox7, c->CheckBox8, c->CheckBox9, c->CheckBox11,
          c->CheckBox12, l->CheckBox10, l->CheckBox13, l->CheckBox15, form->TabSheet1->CheckBox1,
          form->TabSheet1->CheckBox2})
        EXPECT_FALSE(box->isChecked()) << box->objectName().toStdString();
    const QStringList numbers{l->Edit6->text(), l->Edit7->text(),  l->Edit8->text(),
                              l->Edit9->text(), l->Edit10->text(), l->Edit11->text()};
    EXPECT_EQ(numbers, (QStringList{"1", "100", "50", "500", "50", "4"}));
    EXPECT_EQ(l->Edit12->text(), QStringLiteral("Go to content"));
    EXPECT_EQ(c->Edit13->text(), QStringLiteral("Go to page"));
    for (const ColourSwatch* s : {c->Shape1, c->Shape2, l->Shape3, l->Shape4})
        EXPECT_EQ(s->colour(), 0u);
    EXPECT_TRUE(form->currentLanguage.isEmpty());

    // The drop-down lists and what depends on them.
    EXPECT_EQ(c->ComboBox1->currentText(), QStringLiteral("По умолчанию"));
    EXPECT_EQ(c->ComboBox2->currentText(), QStringLiteral("Прямоугольник"));
    EXPECT_EQ(c->ComboBox3->currentText(), QStringLiteral("Содержание"));
    EXPECT_EQ(l->ComboBox4->currentText(), QStringLiteral("По умолчанию"));
    EXPECT_EQ(l->ComboBox5->currentText(), QStringLiteral("Прямоугольник"));
    EXPECT_FALSE(c->Edit4->isEnabled());
    EXPECT_FALSE(c->labelBorderWidth->isEnabled());
    EXPECT_FALSE(c->colour1Button->isEnabled());
    EXPECT_FALSE(c->colour2Button->isEnabled());
    EXPECT_FALSE(l->Edit5->isEnabled());
    EXPECT_FALSE(l->Button10->isEnabled());
    EXPECT_TRUE(l->Edit6->isEnabled());
}

TEST_F(WindowTest, TheFirstExitWritesEveryKeyOfTheTable)
{
    start();
    finish();
    IniFile ini(iniPath());
    for (const auto& [name, value] : kFirstRunKeys) {
        const QString section = name.section(QLatin1Char('/'), 0, 0);
        const QString key = name.section(QLatin1Char('/'), 1);
        EXPECT_TRUE(ini.contains(section, key)) << name.toStdString();
        EXPECT_EQ(ini.readText(section, key, QStringLiteral("<missing>")), value)
            << name.toStdString();
    }
    // Written spellings.
    const QByteArray bytes = readIni();
    EXPECT_TRUE(bytes.contains("Vis=0"));
    EXPECT_TRUE(bytes.contains("language="));
}

TEST_F(WindowTest, InvertedMenuKeysStartWithoutTopmostAndLogAndAreWrittenBack)
{
    writeIni("[Menu]\r\nTop=1\r\nProtokol=1\r\n");
    startShown();
    EXPECT_FALSE(form->N8->isChecked());
    EXPECT_FALSE(form->N9->isChecked());
    EXPECT_FALSE(form->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(form->outerHeight(), 368);
    EXPECT_EQ(form->Memo2->height(), 0);
    finish();
    IniFile ini(iniPath());
    EXPECT_EQ(ini.readText("Menu", "Top"), QStringLiteral("1"));
    EXPECT_EQ(ini.readText("Menu", "Protokol"), QStringLiteral("1"));
}

TEST_F(WindowTest, TheTogglesResizeAndRaiseTheWindowAndDropsStillWork)
{
    startShown();
    form->N9->trigger(); // the user unticks "Показывать протокол"
    QApplication::processEvents();
    EXPECT_EQ(form->outerHeight(), 368);
    EXPECT_EQ(form->Memo2->height(), 0);
    form->N9->trigger();
    QApplication::processEvents();
    EXPECT_EQ(form->outerHeight(), 508);
    EXPECT_EQ(form->Memo2->height(), 135);

    form->N8->trigger();
    QApplication::processEvents();
    EXPECT_FALSE(form->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(form->acceptDrops());
    form->PageControl1->setCurrentWidget(form->TabSheet1);
    drop({QStringLiteral("/books/A.djvu")}, form->TabSheet1->ListView1->viewport());
    EXPECT_EQ(form->fixList.count(), 1);
    finish();
    EXPECT_EQ(IniFile(iniPath()).readText("Menu", "Top"), QStringLiteral("1"));
}

TEST_F(WindowTest, TheWindowIsCentredWithHalvesRoundedToEven)
{
    startShown();
    const QRect screen = form->screen()->geometry();
    const QRect frame = form->frameGeometry();
    auto half = [](int v) { return int(std::nearbyint(v / 2.0)); };
    EXPECT_EQ(frame.left() - screen.left(), half(screen.width()) - half(frame.width()));
    EXPECT_EQ(frame.top() - screen.top(), half(screen.height()) - half(frame.height()));
    // 561 / 2 = 280.5 goes to 280, not 281.
    EXPECT_EQ(half(561), 280);
}

TEST_F(WindowTest, KeysWrittenByHandInCapitalsAreHonoured)
{
    writeIni("[CREATE]\nVIS=1\nHLITE=1\nOGLAV_7=Назад\n[MENU]\nLANGUAGE=Missing.lng\nTOP=1\n");
    start();
    EXPECT_TRUE(form->TabSheet2->CheckBox8->isChecked());
    EXPECT_TRUE(form->TabSheet2->CheckBox9->isChecked());
    EXPECT_TRUE(form->TabSheet2->colour2Button->isEnabled());
    EXPECT_EQ(form->TabSheet3->Edit12->text(), QStringLiteral("Назад"));
    EXPECT_EQ(form->currentLanguage, QStringLiteral("Missing.lng"));
    EXPECT_FALSE(form->N8->isChecked());
    finish();
    IniFile ini(iniPath());
    EXPECT_EQ(ini.readText("Create", "Vis"), QStringLiteral("1"));
    EXPECT_EQ(ini.readText("Menu", "language"), QStringLiteral("Missing.lng"));
}

TEST_F(WindowTest, HexadecimalIntegersAndColoursComeBackInTheirWrittenForm)
{
    writeIni("[Create]\noglav_2=0x1F\noglav_6=-3\ncolor1=0000FF\noglav_9=563412\n");
    start();
    EXPECT_EQ(form->TabSheet3->Edit7->text(), QStringLiteral("31"));
    EXPECT_EQ(form->TabSheet3->Edit11->text(), QStringLiteral("-3"));
    // The file keeps blue first; rows keep red first.
    EXPECT_EQ(form->TabSheet2->Shape1->colourText(), QStringLiteral("FF0000"));
    EXPECT_EQ(form->TabSheet3->Shape4->colourText(), QStringLiteral("123456"));
    finish();
    IniFile ini(iniPath());
    EXPECT_EQ(ini.readText("Create", "oglav_2"), QStringLiteral("31"));
    EXPECT_EQ(ini.readText("Create", "oglav_6"), QStringLiteral("-3"));
    EXPECT_EQ(ini.readText("Create", "color1"), QStringLiteral("0000FF"));
    EXPECT_EQ(ini.readText("Create", "oglav_9"), QStringLiteral("563412"));
}

TEST_F(WindowTest, ANumberFieldWithoutAnIntegerLeavesItsKeyAndTheRestIsWritten)
{
    writeIni("[Create]\noglav_4=777\noglav_5=88\n");
    start();
    form->TabSheet3->Edit9->clear();
    form->TabSheet3->Edit10->setText(QStringLiteral("12a"));
    form->TabSheet3->Edit8->setText(QStringLiteral("-7"));
    finish();
    IniFile ini(iniPath());
    EXPECT_EQ(ini.readText("Create", "oglav_4"), QStringLiteral("777"));
    EXPECT_EQ(ini.readText("Create", "oglav_5"), QStringLiteral("88"));
    EXPECT_EQ(ini.readText("Create", "oglav_3"), QStringLiteral("-7"));
    EXPECT_EQ(ini.readText("Create", "oglav_1"), QStringLiteral("1"));
}

TEST_F(WindowTest, OtherLinesOfTheSettingsFileSurviveByteForByte)
{
    const QByteArray foreign = "; written by hand\r\n[Window]\r\nLeft=17\r\n\r\n";
    const QByteArray own =
        "[Create]\r\nUnknown = keep me  \r\nClose=1\r\n[Extra]\r\nx=\xcf\xf0\r\n";
    writeIni(foreign + own);
    start();
    EXPECT_TRUE(form->TabSheet2->CheckBox5->isChecked());
    finish();
    const QByteArray after = readIni();
    EXPECT_TRUE(after.startsWith(foreign));
    const QList<QByteArray> kept = {"Unknown = keep me  \r\n", "[Extra]\r\n", "x=\xcf\xf0\r\n"};
    for (const QByteArray& line : kept)
        EXPECT_TRUE(after.contains(line)) << line.toStdString();
    EXPECT_TRUE(after.contains("Close=1\r\n"));
}

TEST_F(WindowTest, EachWindowHasItsOwnWorkFolderRemovedAtExit)
{
    start();
    TForm1 second(exe.path());
    const QString mine = form->workFolder();
    EXPECT_TRUE(QDir(mine).exists());
    EXPECT_NE(mine, second.workFolder());
    EXPECT_EQ(form->toolRunner().workFolder(), mine);
    EXPECT_EQ(QDir(form->toolRunner().exeFolder()), QDir(exe.path()));
    finish();
    EXPECT_FALSE(QDir(mine).exists());
    EXPECT_TRUE(QDir(second.workFolder()).exists());
}

TEST_F(WindowTest, DroppedFilesFollowTheActiveTabAndOnlyTheFirstCounts)
{
    start();
    form->PageControl1->setCurrentWidget(form->TabSheet1);
    drop({QStringLiteral("/books/Книги/Book.DJVU")});
    ASSERT_EQ(form->fixList.count(), 1);
    EXPECT_EQ(form->fixList.at(0).fileName, QStringLiteral("Book.DJVU"));
    EXPECT_EQ(form->fixList.at(0).folder, QDir::toNativeSeparators("/books/Книги/"));

    drop({QStringLiteral("/b/One.djvu"), QStringLiteral("/b/Two.djvu"),
          QStringLiteral("/b/Three.djvu")});
    ASSERT_EQ(form->fixList.count(), 2);
    EXPECT_EQ(form->fixList.at(1).fileName, QStringLiteral("One.djvu"));

    drop({QStringLiteral("/b/notes.txt"), QStringLiteral("/b/Two.djvu")});
    EXPECT_EQ(form->fixList.count(), 2);

    form->PageControl1->setCurrentWidget(form->TabSheet2);
    drop({QStringLiteral("/b/Small.djv")}, form->TabSheet2->Edit13); // over a text field too
    ASSERT_EQ(form->createList.count(), 1);
    EXPECT_EQ(form->createList.at(0).columns[0], QStringLiteral("Small.djv"));

    form->PageControl1->setCurrentWidget(form->TabSheet3);
    drop({QStringLiteral("/b/Third.djvu")});
    EXPECT_EQ(form->fixList.count(), 2);
    EXPECT_EQ(form->createList.count(), 1);
}

TEST_F(WindowTest, APassRunsOnAWorkerAndLocksTheListsUntilItEnds)
{
    start();
    form->fixList.append(QStringLiteral("/nowhere/A.djvu"));
    // While the pass runs nothing may start or change the lists; what it reports is shown once
    // it has ended.
    form->fixList.setSelected(0);
    form->Button1Click();
    ASSERT_TRUE(form->passRunning()); // its end is handled on this thread, later
    {
        EXPECT_TRUE(form->TabSheet1->listLocked());
        EXPECT_TRUE(form->TabSheet2->listLocked());
        EXPECT_FALSE(form->TabSheet1->xpButton4->isEnabled());
        EXPECT_FALSE(form->TabSheet2->Button3->isEnabled());
        form->PageControl1->setCurrentWidget(form->TabSheet1);
        form->filesDropped({QUrl::fromLocalFile(QStringLiteral("/b/B.djvu"))});
        EXPECT_EQ(form->fixList.count(), 1);
        form->Button3Click(); // refused: a pass is running
        form->TabSheet1->N1Click();
        EXPECT_EQ(form->fixList.count(), 1);
    }
    form->waitForPass();
    EXPECT_FALSE(form->passRunning());
    EXPECT_EQ(messages.size(), 1) << "the pass's failure was not shown at its end";
    EXPECT_FALSE(form->TabSheet1->listLocked());
    EXPECT_TRUE(form->TabSheet1->xpButton4->isEnabled());
}

TEST_F(WindowTest, AnEmptyCreateListIsRefusedWithAMessage)
{
    start();
    form->Button3Click();
    form->waitForPass();
    ASSERT_FALSE(messages.isEmpty());
    EXPECT_EQ(form->createList.count(), 0);
}

TEST_F(WindowTest, OpenInEditorWithoutASelectedRowShowsMes1)
{
    start();
    form->createList.append(QStringLiteral("/b/A.djvu"), QStringList(29, QStringLiteral("0")));
    form->N2Click();
    EXPECT_EQ(messages, QStringList{mes1()});
}

} // namespace
