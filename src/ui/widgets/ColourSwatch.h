#pragma once

#include <QFrame>

// A small framed patch of colour beside a colour button. The colour is the platform's
// value, red in the lowest byte, as the settings file keeps it.
class ColourSwatch : public QFrame
{
    Q_OBJECT
public:
    explicit ColourSwatch(QWidget* parent = nullptr);
    quint32 colour() const { return colour_; }
    void setColour(quint32 colour);
    // The colour text of rows and annotations, red first (RRGGBB).
    QString colourText() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    quint32 colour_ = 0;
};
