#pragma once

#include "jobs/CreateRow.h"
#include "jobs/JobListModel.h"

// The Create list: its rows in order, the selected row, and the target-row rule by which
// every change of a parameter control reaches a row. As a table it shows the caption
// (column 0) and the 34 text columns of each row (columns 1 to 34).
class CreateList : public JobListModel<CreateRow>
{
    Q_OBJECT
public:
    static constexpr int kViewColumnCount = CreateRow::kColumnCount + 1;

    explicit CreateList(QObject* parent = nullptr);

    // Where a change of a parameter goes: the selected row, else the last row; -1 when the
    // list is empty.
    int targetIndex() const;

    // Appends a row for the file; parameters are columns 1 to 33 as the controls show them;
    // missing ones stay empty.
    void append(const QString& path, const QStringList& parameters);

    // Writes text into a column of the target row; false when the list is empty.
    bool store(int column, const QString& text);
    // The same, but only when the text is a whole number; it is stored as typed.
    bool storeNumber(int column, const QString& text);

protected:
    QString cellText(const CreateRow& row, int column) const override;
};
