#pragma once

class QComboBox;
class QLabel;
class QLineEdit;
class QToolBar;
class QToolButton;
class QWidget;

// The OCR editor's tool bar, left to right: save, the page list, the font, recognition of
// the page, zoom out and in, and the search field. The editor gives the captions.
struct OcrEditorToolBar
{
    explicit OcrEditorToolBar(QWidget* parent);

    QToolBar* bar;
    QToolButton* save;      // "Button1"
    QLabel* pageLabel;      // "Label1"
    QComboBox* pages;       // "ComboBox1"
    QToolButton* font;      // "Button2"
    QToolButton* recognise; // "recogniseButton"
    QToolButton* zoomOut;
    QToolButton* zoomIn;
    QLineEdit* find; // "findField"
};
