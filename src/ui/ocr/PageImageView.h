#pragma once

#include <QImage>
#include <QList>
#include <QRect>
#include <QScrollArea>
#include <QSize>

#include <memory>

class CancelToken;
class QThread;
class ToolRunner;

// The page beside the OCR text: rendered by ddjvu on a thread of its own (a rendering no
// longer wanted is stopped), shown at a zoom the user picks, with the boxes of the words being
// corrected outlined on it.
class PageImageView : public QScrollArea
{
    Q_OBJECT
public:
    explicit PageImageView(QWidget* parent = nullptr);
    ~PageImageView() override;

    // Starts rendering a page of the document; the image shows when ddjvu is done. pageSize
    // is the page's size in pixels (the boxes' space).
    void showPage(const ToolRunner& tools, const QString& documentPath, int page, QSize pageSize);
    void clear();
    // Outlines these boxes (page pixels, origin top-left).
    void setOutlined(const QList<QRect>& boxes);

    // Waits until the page being rendered has shown (tests, and before a screenshot).
    void waitForImage();

    double zoom() const { return zoom_; }
    void setZoom(double zoom);
    void zoomIn() { setZoom(zoom_ * 1.25); }
    void zoomOut() { setZoom(zoom_ / 1.25); }

    // What the view shows: the page image with its outlines, at the zoom, without scrolling.
    QImage shownImage() const;
    // The outlined boxes in the coordinates of shownImage().
    QList<QRect> outlinedOnImage() const;
    bool hasImage() const { return !image_.isNull(); }

    // The pixel size ddjvu renders at (the longer side); zoom scales what it gave.
    static constexpr int kRenderSide = 1400;

protected:
    void wheelEvent(QWheelEvent* event) override;

private:
    void imageArrived(int generation, const QImage& image);
    // Stops the rendering under way, if any; its image never shows.
    void stopRendering();
    void refresh();

    QImage image_;
    QSize pageSize_;
    QList<QRect> outlined_;
    double zoom_ = 0.5;
    int generation_ = 0;
    QThread* worker_ = nullptr;
    std::shared_ptr<CancelToken> cancel_; // of the rendering under way
};
