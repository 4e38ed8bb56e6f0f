#include "ui/widgets/UpDown.h"

#include <QLineEdit>
#include <QResizeEvent>
#include <QToolButton>
#include <QVBoxLayout>

UpDown::UpDown(QLineEdit* associate, int minimum, int maximum, QWidget* parent)
    : QWidget(parent), associate_(associate), minimum_(minimum), maximum_(maximum),
      up_(new QToolButton(this)), down_(new QToolButton(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (QToolButton* b : {up_, down_}) {
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        b->setIconSize(QSize(8, 8));
        layout->addWidget(b);
    }
    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    connect(up_, &QToolButton::clicked, this, [this] { stepBy(1); });
    connect(down_, &QToolButton::clicked, this, [this] { stepBy(-1); });
}

int UpDown::position() const
{
    bool ok = false;
    const int value = associate_->text().toInt(&ok);
    return ok ? std::clamp(value, minimum_, maximum_) : minimum_;
}

void UpDown::stepBy(int steps)
{
    const int next = std::clamp(position() + steps, minimum_, maximum_);
    const QString text = QString::number(next);
    if (associate_->text() != text)
        associate_->setText(text);
}
