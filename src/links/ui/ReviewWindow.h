#pragma once

#include "app/MessageTexts.h"
#include "app/ReviewCaptions.h"
#include "jobs/CreateJob.h"
#include "links/CreatePass.h"
#include "links/LineAccount.h"
#include "links/PageText.h"
#include "links/ReviewModel.h"
#include "links/ReviewSession.h"
#include "tools/CancelToken.h"

#include <QDialog>
#include <QHash>
#include <QImage>
#include <QMap>
#include <QTemporaryDir>
#include <QThreadPool>

#include <functional>

class PageView;
class QLabel;
class QPushButton;
class QScrollArea;
class QSpinBox;
class QTableView;

// Shows what a Create job would write before it is written: the contents pages as pictures
// with the entries' areas on them, the entries with their targets and whether each title
// stands on its target page, and the target page of the selected entry. The user edits
// targets, titles and levels, leaves entries out and moves the offset; "Записать" writes
// exactly the reviewed entries, "Отмена" writes nothing. Reading and drawing run off the
// window's thread.
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
    void planned(const ReviewSession::Result& result);
    void drawPage(int number);
    void readTexts();
    void applyChecks();
    void refreshAreas();
    void selectRow(int row);
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
    QMap<int, PageText> pageTexts_; // contents and target pages read so far
    QHash<int, QImage> thumbnails_;
    int thumbnailPage_ = 0;
    QString lastMessage_;
    LineAccount lines_; // what the reading made of every line of the contents pages
    bool written_ = false;
    QStringList log_;
};
