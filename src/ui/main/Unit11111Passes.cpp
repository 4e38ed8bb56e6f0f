#include "ui/main/Unit11111.h"

#include "base/Plural.h"
#include "djvu/ToolRunner.h"
#include "jobs/CreateRowReader.h"
#include "links/CreatePass.h"
#include "links/FixPass.h"
#include "links/PassControl.h"
#include "links/PassEnd.h"
#include "links/PassSummary.h"
#include "ui/tabs/CreateTab.h"
#include "ui/tabs/FixListTab.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>

// The two batch passes: each runs on a worker thread of its own, and what it tells the user
// is shown once it has ended.

void TForm1::updateActions()
{
    const bool running = passRunning();
    TabSheet1->setListLocked(running);
    TabSheet2->setListLocked(running);
    ProgressBar1->setVisible(running);
    StopButton->setVisible(running);
    StopButton->setEnabled(running && !passCancel_.isCancelled());
}

void TForm1::StopButtonClick()
{
    if (!passRunning())
        return;
    passCancel_.cancel();
    updateActions();
}

void TForm1::runPass(PassWork work, std::function<void()> done)
{
    passCancel_.reset();
    auto tools = std::make_shared<ToolRunner>(*tools_);
    tools->setCancelToken(&passCancel_);
    passThread_ = QThread::create(
        [work = std::move(work), tools, snapshot = texts,
         control = PassControl(&progressSink_, &passCancel_)] { work(*tools, snapshot, control); });
    connect(passThread_, &QThread::finished, this, [this, done = std::move(done)] {
        passThread_->deleteLater();
        passThread_ = nullptr;
        progressSink_.reset();
        updateActions();
        notices.endRun(); // before the end actions, which may close the window
        done();
        if (closeAfterPass_)
            close();
    });
    progressSink_.reset();
    notices.beginRun(texts);
    updateActions();
    passThread_->start();
}

void TForm1::waitForPass()
{
    while (passThread_)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void TForm1::Button1Click()
{
    if (passRunning())
        return;
    const QList<FixRow> rows = fixList.rows();
    FixOptions options;
    TabSheet1->putOptions(options);
    auto outcome = std::make_shared<PassOutcome>();
    runPass(
        [this, rows, options, outcome](ToolRunner& tools, const MessageTexts& snapshot,
                                       const PassControl& control) {
            FixPass pass(tools, snapshot, logSink, notices);
            pass.setControl(control);
            *outcome = pass.run(rows, options);
        },
        [this, outcome] {
            fixList.setOutcomes(outcome->rows);
            showOutcome(*outcome, fixList.count());
            applyEndActions(PassEnd::afterFixPass(*outcome, TabSheet1->endOptions()));
        });
}

void TForm1::Button3Click()
{
    if (passRunning())
        return;
    // The rows become typed jobs here; a row that does not convert stops the run at its turn.
    const QList<CreateJob> jobs = CreateRowReader::jobsOf(createList.rows());
    const CreateOptions options = createOptions();
    auto outcome = std::make_shared<CreateOutcome>();
    const QString title = windowTitle();
    runPass(
        [this, jobs, options, outcome, title](ToolRunner& tools, const MessageTexts& snapshot,
                                              const PassControl& control) {
            CreatePass pass(tools, snapshot, logSink, notices);
            pass.setControl(control);
            const QString asked = snapshot.text("mes8");
            pass.setOutlineQuestion([this, asked, title](const QString& path, int bookmarks) {
                return dialogs.askReplaceOutline(
                    asked.arg(path, Plural::count("e_n_bookmarks", bookmarks)), title);
            });
            *outcome = pass.run(jobs, options);
        },
        [this, outcome] {
            createList.setOutcomes(outcome->rows);
            showOutcome(*outcome, createList.count());
            applyEndActions(PassEnd::afterCreatePass(*outcome, TabSheet2->endOptions(),
                                                     TabSheet1->endOptions()));
        });
}

CreateOptions TForm1::createOptions() const
{
    CreateOptions options;
    TabSheet2->putOptions(options);
    TabSheet1->putOptions(options.fixOptions);
    return options;
}

void TForm1::applyEndActions(const PassEndActions& actions)
{
    if (actions.clearFixList)
        fixList.clear();
    if (actions.clearCreateList)
        createList.clear();
    if (actions.closeWindow)
        close();
}

void TForm1::showOutcome(const PassOutcome& outcome, int rowCount)
{
    const bool wasHidden = summaryLabel->isHidden();
    summaryLabel->setText(PassSummary::line(outcome, rowCount));
    summaryLabel->show();
    if (wasHidden)
        applyLogVisible(); // the smallest height now holds the line
}
