#pragma once

#include "jobs/JobListModel.h"
#include "ui/widgets/WindowDialogs.h"

#include <QItemSelectionModel>
#include <QTableView>

class MessageTexts;

// What the Create and the Fix tab do alike with their list's selected row.
namespace ListRows {

// False, having told the user that no row is selected, when the list has none.
bool selectedOrSay(int selected, WindowDialogs& dialogs, const MessageTexts& texts);

// Removes the selected row, unless a running pass holds the list.
template <typename Row>
void removeSelected(JobListModel<Row>& list, bool locked, WindowDialogs& dialogs,
                    const MessageTexts& texts)
{
    if (selectedOrSay(list.selected(), dialogs, texts) && !locked)
        list.removeAt(list.selected());
}

// Opens the selected row's document with the desktop's program for it.
template <typename Row>
void openSelected(const JobListModel<Row>& list, WindowDialogs& dialogs, const MessageTexts& texts)
{
    if (selectedOrSay(list.selected(), dialogs, texts))
        dialogs.openInShell(list.at(list.selected()).fullPath());
}

// The view's first selected row becomes the list's selected one.
template <typename Row> void followView(const QTableView* view, JobListModel<Row>& list)
{
    const QModelIndexList rows = view->selectionModel()->selectedRows();
    list.setSelected(rows.isEmpty() ? -1 : rows.first().row());
}

} // namespace ListRows
