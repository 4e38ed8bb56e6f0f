#pragma once

#include "base/CancelToken.h"
#include "base/MessageTexts.h"
#include "base/ReviewCaptions.h"
#include "jobs/CreateJob.h"
#include "links/CreatePass.h"
#include "reading/PageText.h"
#include "review/ReviewModel.h"
#include "review/ReviewSession.h"

#include <QDialog>
#include <QHash>
#include <QImage>
#include <QMap>
#include <QMetaObject>
#include <QTemporaryDir>
#include <QThreadPool>

#include <functional>

class PageView;
class QLabel;
class QPushButton;
class QScrollArea;
class QSpinBox;
class QTableView;
class QTableWidget;

// Shows what a Create job would write before it is written: the contents pages as pictures
// with the entries' areas on them, the entries with their targets and whether each title
// stands on its target page, the target page of the selected entry, and the lines the
// reading did not link. The user edits targets, titles and levels (Tab, Shift+Tab), leaves
// entries out or deletes them (Delete), makes entries of lines not linked (Insert) and moves
// the offset; "Записать" writes exactly the reviewed entries, "Отмена" writes nothing.
// Reading and drawing run off the window's thread.
class ReviewWindow : public QDialog
{
    Q_OBJECT
public:
    ReviewWindow(const CreateJob& job, const CreateOptions& options, const QString& exeFolder,
                 const MessageTexts& texts, const ReviewCaptions& captions,
                 QWidget* parent = nullptr);
    ~ReviewWindow() override;

    // Asked from the writing thread when the document has an outline the new one replaces.
    void setOutlineQuestion(CreatePass::OutlineQuestion question) { question_ = question; }
    // Plans the job and draws its contents pages.
    void start();
    // Lets the window's events run until no reading or drawing is left (for tests and
    // screenshots).
    void waitUntilIdle();

    ReviewModel& model() { return model_; }
    QString lastMessage() const { return lastMessage_; }
    bool written() const { return written_; }
    QStringList log() const { return log_; }
    void writeClick();
    // Makes an entry of the selected line not linked and selects it.
    void addLineClick();
    // Deletes the selected entry.
    void deleteClick();

    PageView* pageView;
    QScrollArea* pageScroll;
    QTableView* table;
    QLabel* levelLabel;
    QSpinBox* levelBox;
    QLabel* offsetLabel;
    QSpinBox* offsetBox;
    QLabel* targetLabel;
    QLabel* thumbnail;
    QLabel* statusLabel;
    QLabel* linesLabel;
    QTableWidget* linesList; // page, text and reason of each line not linked
    QPushButton* addLineButton;
    QPushButton* deleteButton;
    QPushButton* zoomInButton;
    QPushButton* zoomOutButton;
    QPushButton* writeButton;
    QPushButton* cancelButton;

signals:
    // The background work is done for now.
    void idle();

private:
    struct Drawn
    {
        QSize size;
        QImage image;
        QString error;
        bool missingTool = false;
    };
    template <typename T>
    void background(std::function<T()> work, std::function<void(const T&)> done);
    void build();
    void connectControls();
    // What may be used now: writing once the plan is read and not while it writes; a line
    // not linked is made an entry when one is chosen.
    void updateActions();
    void planned(const ReviewSession::Result& result);
    void drawPage(int number);
    void readTexts();
    void applyChecks();
    void refreshAreas();
    void selectRow(int row);
    void showLines();
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showStatus();
    void drawThumbnail(int page);
    Drawn draw(int page, int width) const;

    CreateJob job_;
    CreateOptions options_;
    QString exeFolder_;
    MessageTexts texts_;
    ReviewCaptions captions_;
    CreatePass::OutlineQuestion question_;
    QTemporaryDir work_;
    QThreadPool pool_;
    CancelToken stopReading_; // set when the window goes while the book is still being read
    int pending_ = 0;
    ReviewModel model_;
    bool planOk_ = false;
    bool writing_ = false;
    QMap<int, PageText> pageTexts_; // contents and target pages read so far
    QHash<int, QImage> thumbnails_;
    int thumbnailPage_ = 0;
    QString lastMessage_;
    bool written_ = false;
    QStringList log_;
};

template <typename T>
void ReviewWindow::background(std::function<T()> work, std::function<void(const T&)> done)
{
    ++pending_;
    pool_.start([this, work = std::move(work), done = std::move(done)] {
        const T result = work();
        QMetaObject::invokeMethod(
            this,
            [this, result, done] {
                --pending_;
                done(result);
                if (pending_ == 0)
                    emit idle();
            },
            Qt::QueuedConnection);
    });
}
