#pragma once

class QLabel;
class QTableView;
class QWidget;

// The look shared by the three tabs of the main window.

// Both job lists: grid lines, whole-row selection, at most one selected row, no sorting,
// no row numbers; "Файл" is 600 wide.
void setUpReportView(QTableView* view);

// A click on the empty part of a list clears its selection, as in a native list view, so
// changes go to the last row again.
void clearSelectionOnEmptyClick(QTableView* view);

// The small blue project line in a tab's lower right corner.
QLabel* makeContactLabel(QWidget* tab);
void placeContactLabel(QLabel* label);
