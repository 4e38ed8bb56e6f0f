#include "ui/ocr/OcrEditorToolBar.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QToolBar>
#include <QToolButton>

namespace {

QToolButton* button(QToolBar* bar, const char* name, const QString& text = QString())
{
    auto* b = new QToolButton(bar);
    b->setObjectName(QLatin1String(name));
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    b->setText(text);
    return b;
}

} // namespace

OcrEditorToolBar::OcrEditorToolBar(QWidget* parent) : bar(new QToolBar(parent))
{
    save = button(bar, "Button1");
    pageLabel = new QLabel(bar);
    pageLabel->setObjectName(QStringLiteral("Label1"));
    pages = new QComboBox(bar);
    pages->setObjectName(QStringLiteral("ComboBox1"));
    pages->setEditable(false);
    pages->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    font = button(bar, "Button2");
    recognise = button(bar, "recogniseButton");
    zoomOut = button(bar, "zoomOut", QStringLiteral("\u2212"));
    zoomIn = button(bar, "zoomIn", QStringLiteral("+"));
    find = new QLineEdit(bar);
    find->setObjectName(QStringLiteral("findField"));
    find->setClearButtonEnabled(true);
    find->setMaximumWidth(180);
    for (QWidget* w : std::initializer_list<QWidget*>{save, pageLabel, pages, font, recognise}) {
        bar->addWidget(w);
        bar->addSeparator();
    }
    bar->addWidget(zoomOut);
    bar->addWidget(zoomIn);
    bar->addSeparator();
    bar->addWidget(find);
}
