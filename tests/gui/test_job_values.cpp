// The typed choices of a Create job against their stored forms: the window's lists and
// boxes, a list row's columns and the command line's words name the same value, and all
// three start from the same one.

#include "test_main_window_harness.h"

#include "cli/CreateJobOptions.h"
#include "jobs/CreateRow.h"
#include "jobs/CreateRowReader.h"
#include "jobs/JobValues.h"
#include "links/CreatePass.h"
#include "ui/tabs/ContentsLinkTab.h"
#include "ui/tabs/CreateTab.h"

#include <QCheckBox>
#include <QComboBox>

#include <functional>

namespace {

namespace C = CreateColumn;

// One choice: how many values it has, the arguments that choose value n on the command
// line, its row column, what a user does in the window to choose n, and n read back from a
// job.
struct Choice
{
    const char* name;
    int count;
    std::function<QStringList(int)> arguments;
    int column;
    std::function<void(TForm1&, int)> choose;
    std::function<int(const CreateJob&)> value;
};

// The user picks item n of one of a tab's lists, and its handler runs.
template <typename Tab>
std::function<void(TForm1&, int)> listItem(Tab* TForm1::*tab, QComboBox* Tab::*list,
                                           void (Tab::*handler)())
{
    return [=](TForm1& f, int n) {
        ((f.*tab)->*list)->setCurrentIndex(n);
        ((f.*tab)->*handler)();
    };
}

// The arguments that choose word n of an option's words, after the ones given first.
std::function<QStringList(int)> word(const char* option, const QStringList& words,
                                     const QStringList& first = {})
{
    return [=](int n) { return first + QStringList{QLatin1String(option), words.value(n)}; };
}

const QList<Choice>& choices()
{
    using O = CreateJobOptions;
    using F = TForm1;
    using T = CreateTab;
    using L = ContentsLinkTab;
    const QStringList link{"--contents-link"};
    static const QList<Choice> all{
        {"kind", JobValue::kCount<WorkKind>, word("--kind", O::kKinds), C::Kind,
         listItem(&F::TabSheet2, &T::ComboBox3, &T::ComboBox3Change),
         [](const CreateJob& j) { return JobValue::number(j.kind); }},
        {"reading", JobValue::kCount<ContentsReading>, word("--reading", O::kReadings), C::Reading,
         [](TForm1& f, int n) { f.TabSheet2->smartReadingCheckBox->setChecked(n == 1); },
         [](const CreateJob& j) { return JobValue::number(j.reading); }},
        {"shape", JobValue::kCount<AreaShape>, word("--shape", O::kShapes), C::Shape,
         listItem(&F::TabSheet2, &T::ComboBox2, &T::ComboBox2Change),
         [](const CreateJob& j) { return JobValue::number(j.shape); }},
        {"border", JobValue::kCount<BorderType>, word("--border", O::kBorders), C::BorderType,
         listItem(&F::TabSheet2, &T::ComboBox1, &T::ComboBox1Change),
         [](const CreateJob& j) { return JobValue::number(j.style.borderType); }},
        // The window and the command line place the link on one page or on every page.
        {"link pages", 2,
         [link](int n) { return n == 1 ? link + QStringList{"--contents-link-every-page"} : link; },
         C::LinkEveryPage, [](TForm1& f, int n) { f.TabSheet3->CheckBox15->setChecked(n == 1); },
         [](const CreateJob& j) { return JobValue::number(j.contentsLinkPages); }},
        {"link shape", JobValue::kCount<AreaShape>, word("--contents-link-shape", O::kShapes, link),
         C::LinkShape, listItem(&F::TabSheet3, &L::ComboBox5, &L::ComboBox5Change),
         [](const CreateJob& j) { return JobValue::number(j.link.shape); }},
        {"link border", JobValue::kCount<BorderType>,
         word("--contents-link-border", O::kBorders, link), C::LinkBorderType,
         listItem(&F::TabSheet3, &L::ComboBox4, &L::ComboBox4Change),
         [](const CreateJob& j) {
             return j.link.borderType ? JobValue::number(*j.link.borderType) : -1;
         }},
    };
    return all;
}

class JobValuesTest : public WindowTest
{
protected:
    void SetUp() override { start(); }
    // The job of the command line's arguments, for one book.
    static CreateJob fromCommandLine(const QStringList& arguments)
    {
        CreateJobOptions options;
        QString error;
        EXPECT_TRUE(options.parse(arguments + QStringList{"book.djvu"}, &error))
            << error.toStdString();
        return options.jobs().value(0);
    }
    // The row the window adds, and the job it reads as.
    CreateRow addRow(CreateJob* job)
    {
        filesToChoose << QStringLiteral("/books/book.djvu");
        form->TabSheet2->Button4Click();
        const CreateRow row = form->createList.at(form->createList.count() - 1);
        QString error;
        EXPECT_TRUE(CreateRowReader::read(row, job, &error)) << error.toStdString();
        return row;
    }
};

TEST_F(JobValuesTest, EachChoiceIsTheSameValueInTheWindowTheRowAndTheCommandLine)
{
    for (const Choice& c : choices()) {
        for (int n = 0; n < c.count; ++n) {
            const std::string what = c.name + std::string(" ") + std::to_string(n);
            EXPECT_EQ(c.value(fromCommandLine(c.arguments(n))), n) << what;
            restart(); // each choice from the window's first state
            form->TabSheet2->CheckBox14->setChecked(true);
            c.choose(*form, n);
            CreateJob job;
            const CreateRow row = addRow(&job);
            EXPECT_EQ(row.columns.value(c.column), QString::number(n)) << what;
            EXPECT_EQ(c.value(job), n) << what;
        }
    }
}

TEST_F(JobValuesTest, TheWindowTheRowsAndTheCommandLineStartFromTheSameChoices)
{
    form->TabSheet2->CheckBox14->setChecked(true);
    CreateJob window;
    addRow(&window);
    const CreateJob commandLine = fromCommandLine({"--contents-link"});
    for (const Choice& c : choices()) {
        const int typed = c.value(CreateJob());
        EXPECT_EQ(c.value(window), typed) << c.name;
        EXPECT_EQ(c.value(commandLine), typed) << c.name;
    }
    CreateOptions options;
    form->TabSheet2->putOptions(options);
    EXPECT_EQ(options.kind, CreateOptions().kind);
    EXPECT_EQ(options.shape, CreateOptions().shape);
    EXPECT_EQ(options.borderType, CreateOptions().borderType);
    EXPECT_EQ(form->TabSheet3->CheckBox15->isChecked(),
              JobDefaults::linkPages == ContentsLinkPages::EveryPage);
}

} // namespace
