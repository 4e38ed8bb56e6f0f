#include "ui/ocr/PageImageView.h"

#include "base/CancelToken.h"
#include "djvu/PageRender.h"
#include "djvu/ToolRunner.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QThread>
#include <QWheelEvent>

namespace {

QImage renderPage(const QString& exeFolder, const QString& workFolder, const QString& path,
                  int page, const CancelToken* cancel)
{
    // A runner of its own: the editor's may be in use on the window's thread, and a missing
    // ddjvu only leaves the image out.
    ToolRunner tools(exeFolder, workFolder, nullptr);
    tools.setCancelToken(cancel);
    const int side = PageImageView::kRenderSide;
    QByteArray ppm;
    QString error;
    if (!PageRender::render(tools, path, page, QSize(side, side), &ppm, &error))
        return {};
    return QImage::fromData(ppm, "PPM");
}

} // namespace

PageImageView::PageImageView(QWidget* parent) : QScrollArea(parent)
{
    setObjectName(QStringLiteral("pageImage"));
    auto* label = new QLabel;
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setWidget(label);
    setWidgetResizable(false);
    setAlignment(Qt::AlignCenter);
    setBackgroundRole(QPalette::Dark);
}

PageImageView::~PageImageView()
{
    stopRendering();
    waitForImage();
}

void PageImageView::stopRendering()
{
    if (cancel_)
        cancel_->cancel();
    cancel_.reset();
}

void PageImageView::showPage(const ToolRunner& tools, const QString& documentPath, int page,
                             QSize pageSize)
{
    // One rendering at a time: an older one is stopped, and its image would be dropped.
    stopRendering();
    const int generation = ++generation_;
    pageSize_ = pageSize;
    outlined_.clear();
    image_ = QImage();
    refresh();
    if (page < 1)
        return;
    waitForImage();
    cancel_ = std::make_shared<CancelToken>();
    QPointer<PageImageView> self(this);
    worker_ = QThread::create([self, exe = tools.exeFolder(), work = tools.workFolder(),
                               documentPath, page, generation, cancel = cancel_] {
        const QImage image = renderPage(exe, work, documentPath, page, cancel.get());
        QMetaObject::invokeMethod(
            qApp,
            [self, generation, image] {
                if (self)
                    self->imageArrived(generation, image);
            },
            Qt::QueuedConnection);
    });
    worker_->start();
}

void PageImageView::clear()
{
    stopRendering();
    ++generation_;
    image_ = QImage();
    outlined_.clear();
    refresh();
}

void PageImageView::waitForImage()
{
    if (!worker_)
        return;
    worker_->wait();
    delete worker_;
    worker_ = nullptr;
    // The image arrives through the event queue.
    QCoreApplication::sendPostedEvents(qApp, QEvent::MetaCall);
}

void PageImageView::imageArrived(int generation, const QImage& image)
{
    if (generation != generation_)
        return;
    image_ = image;
    refresh();
}

void PageImageView::setOutlined(const QList<QRect>& boxes)
{
    outlined_ = boxes;
    refresh();
}

void PageImageView::setZoom(double zoom)
{
    zoom_ = std::clamp(zoom, 0.1, 4.0);
    refresh();
}

QList<QRect> PageImageView::outlinedOnImage() const
{
    QList<QRect> shown;
    if (image_.isNull() || pageSize_.isEmpty())
        return shown;
    // The image is the page scaled to fit the rendering size, then by the zoom.
    const double sx = image_.width() * zoom_ / pageSize_.width();
    const double sy = image_.height() * zoom_ / pageSize_.height();
    for (const QRect& box : outlined_) {
        if (box.isEmpty())
            continue;
        shown << QRect(QPoint(int(box.left() * sx), int(box.top() * sy)),
                       QPoint(int(box.right() * sx), int(box.bottom() * sy)));
    }
    return shown;
}

QImage PageImageView::shownImage() const
{
    if (image_.isNull())
        return {};
    const QSize size(std::max(1, int(image_.width() * zoom_)),
                     std::max(1, int(image_.height() * zoom_)));
    QImage shown = image_.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                       .convertToFormat(QImage::Format_RGB32);
    QPainter painter(&shown);
    painter.setPen(QPen(QColor(220, 0, 0), 2));
    painter.setBrush(QColor(255, 210, 0, 60));
    for (const QRect& box : outlinedOnImage())
        painter.drawRect(box.adjusted(-2, -2, 2, 2));
    return shown;
}

void PageImageView::refresh()
{
    auto* label = static_cast<QLabel*>(widget());
    const QImage shown = shownImage();
    label->setPixmap(shown.isNull() ? QPixmap() : QPixmap::fromImage(shown));
    label->adjustSize();
    if (!outlined_.isEmpty() && !shown.isNull()) {
        const QList<QRect> boxes = outlinedOnImage();
        if (!boxes.isEmpty())
            ensureVisible(boxes.first().center().x(), boxes.first().center().y(), 80, 80);
    }
}

void PageImageView::wheelEvent(QWheelEvent* event)
{
    if (event->modifiers() & Qt::ControlModifier) {
        if (event->angleDelta().y() > 0)
            zoomIn();
        else if (event->angleDelta().y() < 0)
            zoomOut();
        event->accept();
        return;
    }
    QScrollArea::wheelEvent(event);
}
