#include "ui/review/ReviewWindow.h"

#include "djvu/PageRender.h"
#include "djvu/ToolRunner.h"
#include "review/ReviewCheck.h"
#include "ui/review/PageView.h"
#include "ui/review/WholePagePicture.h"

#include <QLabel>
#include <QTableView>

// The pictures and the texts of the review's pages, drawn and read off the window's thread.

namespace {

constexpr int kDrawWidth = PageView::kPageWidth * 2; // pictures stay sharp when zoomed in
constexpr int kThumbnailDrawWidth = 600;             // sharp when the window grows

} // namespace

ReviewWindow::Drawn ReviewWindow::draw(int page, int width) const
{
    Drawn drawn;
    ToolRunner tools(exeFolder_, work_.path(), nullptr);
    if (!PageRender::pageSize(tools, job_.path, page, &drawn.size, &drawn.error))
        return drawn;
    drawn.missingTool = !tools.available(QStringLiteral("ddjvu"));
    const QSize size(width,
                     std::max(1, int(double(width) * drawn.size.height() / drawn.size.width())));
    QByteArray ppm;
    if (PageRender::render(tools, job_.path, page, size, &ppm, &drawn.error))
        drawn.image = QImage::fromData(ppm, "PPM");
    return drawn;
}

void ReviewWindow::drawPage(int number)
{
    background<Drawn>([this, number] { return draw(number, kDrawWidth); },
                      [this, number](const Drawn& drawn) {
                          const int index = pageView->pageIndex(number);
                          if (index < 0)
                              return;
                          PageView::Page& page = pageView->page(index);
                          page.size = drawn.size;
                          page.image = drawn.image;
                          if (drawn.missingTool)
                              page.message = captions_.text("s3");
                          else if (!drawn.error.isEmpty())
                              page.message = drawn.error;
                          else if (page.message == captions_.text("s1"))
                              page.message.clear();
                          pageView->pagesChanged();
                          showStatus();
                      });
}

void ReviewWindow::readTexts()
{
    QList<int> wanted;
    for (const PageView::Page& page : pageView->pages())
        if (!pageTexts_.contains(page.number))
            wanted << page.number;
    for (int page : ReviewCheck::targetPages(model_.entries()))
        if (!pageTexts_.contains(page) && !wanted.contains(page))
            wanted << page;
    if (wanted.isEmpty()) {
        applyChecks();
        return;
    }
    const QString path = job_.path;
    struct Read
    {
        QMap<int, PageText> texts;
        QString error;
    };
    background<Read>(
        [this, path, wanted] {
            Read read;
            ToolRunner tools(exeFolder_, work_.path(), nullptr);
            ReviewCheck::readPages(tools, path, wanted, &read.texts, &read.error);
            return read;
        },
        [this](const Read& read) {
            if (!read.error.isEmpty())
                lastMessage_ = read.error;
            pageTexts_.insert(read.texts);
            applyChecks();
        });
}

void ReviewWindow::applyChecks()
{
    for (qsizetype i = 0; i < pageView->pages().size(); ++i) {
        PageView::Page& page = pageView->page(int(i));
        if (pageTexts_.contains(page.number) && !pageTexts_[page.number].hasLayer) {
            const QString note = captions_.text("s2").arg(page.number);
            if (!page.message.contains(note))
                page.message = page.message == captions_.text("s1") || page.message.isEmpty()
                                   ? note
                                   : page.message + QLatin1Char('\n') + note;
        }
    }
    pageView->pagesChanged();
    const int pageCount = std::max(model_.plan().pageCount, 1);
    for (int row = 0; row < model_.rowCount(); ++row) {
        const PlanEntry& entry = model_.entries()[row].entry;
        if (model_.entries()[row].check == ReviewEntry::Check::Unknown &&
            pageTexts_.contains(int(entry.targetPage)))
            model_.setCheck(row, ReviewCheck::check(entry, pageTexts_, pageCount));
    }
    showStatus();
}

void ReviewWindow::refreshAreas()
{
    for (qsizetype i = 0; i < pageView->pages().size(); ++i) {
        PageView::Page& page = pageView->page(int(i));
        page.areas.clear();
        for (int row = 0; row < model_.rowCount(); ++row) {
            const ReviewEntry& e = model_.entries()[row];
            if (e.entry.contentsPage != page.number)
                continue;
            const BorderExpression::Box& b = e.entry.area;
            page.areas << PageView::Area{row, QRect(b.x, b.y, b.width, b.height), e.ticked};
        }
    }
    pageView->pagesChanged();
}

void ReviewWindow::drawThumbnail(int page)
{
    thumbnailPage_ = page;
    targetLabel->setText(captions_.text("l3") + QStringLiteral(": %1").arg(page));
    auto* picture = static_cast<WholePagePicture*>(thumbnail);
    if (thumbnails_.contains(page)) {
        picture->showImage(thumbnails_[page]);
        return;
    }
    picture->showText(QString());
    background<Drawn>([this, page] { return draw(page, kThumbnailDrawWidth); },
                      [this, page, picture](const Drawn& drawn) {
                          if (!drawn.image.isNull())
                              thumbnails_.insert(page, drawn.image);
                          if (page != thumbnailPage_)
                              return;
                          if (drawn.image.isNull())
                              picture->showText(drawn.missingTool ? captions_.text("s3")
                                                                  : drawn.error);
                          else
                              picture->showImage(drawn.image);
                      });
}
