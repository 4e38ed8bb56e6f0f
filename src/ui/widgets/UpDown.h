#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

// Spin buttons for a read-only number field: each click moves the field's value by one
// within a range and writes it into the field as text, so the field's change handler runs.
class UpDown : public QWidget
{
    Q_OBJECT
public:
    UpDown(QLineEdit* associate, int minimum, int maximum, QWidget* parent = nullptr);
    int position() const;
    void stepBy(int steps);

private:
    QLineEdit* associate_;
    int minimum_;
    int maximum_;
    QToolButton* up_;
    QToolButton* down_;
};
