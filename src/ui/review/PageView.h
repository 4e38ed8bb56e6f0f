#pragma once

#include <QImage>
#include <QList>
#include <QRect>
#include <QSize>
#include <QString>
#include <QWidget>

// The contents pages one under the other, each drawn from its picture with the areas of its
// entries on it where the links will be. The selected entry's area is filled; a click on an
// area selects its entry. A page without a picture shows why instead.
class PageView : public QWidget
{
    Q_OBJECT
public:
    struct Area
    {
        int row = 0;  // the entry it belongs to
        QRect box;    // in the page's own pixels, from its bottom-left corner
        bool written; // the entry is ticked
    };
    struct Page
    {
        int number = 0;
        QSize size; // the page's own size in pixels; empty until known
        QImage image;
        QString message; // shown over the page, e.g. why there is no picture
        QList<Area> areas;
    };

    explicit PageView(QWidget* parent = nullptr);

    void setPages(const QList<Page>& pages);
    Page& page(int index) { return pages_[index]; }
    const QList<Page>& pages() const { return pages_; }
    int pageIndex(int number) const;
    void pagesChanged(); // after a change through page()

    // The areas' look: "oval" or a rectangle; a border expression of "none" draws them dotted.
    void setLook(const QByteArray& shape, const QByteArray& border);
    void setSelectedRow(int row);
    int selectedRow() const { return selected_; }
    // 1 fits the pages to the view's width at the time the pictures were made.
    void setZoom(double zoom);
    double zoom() const { return zoom_; }
    // Where an entry's area is drawn, in the view's coordinates; empty when it is not.
    QRect areaOnScreen(int row) const;

    static constexpr int kPageWidth = 640; // page width in pixels at zoom 1
    static constexpr int kGap = 12;

    QSize sizeHint() const override;

signals:
    void rowClicked(int row);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QRect pageRect(int index) const;
    QRect mapArea(int index, const QRect& box) const;
    void updateSize();

    QList<Page> pages_;
    QByteArray shape_ = "rect";
    bool dotted_ = false;
    int selected_ = -1;
    double zoom_ = 1.0;
};
