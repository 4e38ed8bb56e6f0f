#pragma once

#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QResizeEvent>

// The whole target page, as large as the space it is given allows, however tall the page.
class WholePagePicture : public QLabel
{
public:
    static constexpr int kWidth = 180;
    WholePagePicture()
    {
        setMinimumSize(kWidth, int(kWidth * 1.42));
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        setAlignment(Qt::AlignCenter);
        setFrameShape(QFrame::Box);
        setWordWrap(true);
    }
    void showImage(const QImage& image)
    {
        image_ = image;
        fit();
    }
    void showText(const QString& text)
    {
        image_ = {};
        setText(text);
    }

protected:
    void resizeEvent(QResizeEvent* event) override
    {
        QLabel::resizeEvent(event);
        fit();
    }

private:
    void fit()
    {
        if (image_.isNull())
            return;
        const QSize room = contentsRect().size().expandedTo(minimumSize() - QSize(2, 2));
        setPixmap(
            QPixmap::fromImage(image_.scaled(room, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    }
    QImage image_;
};
