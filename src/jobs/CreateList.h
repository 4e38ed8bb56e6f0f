#pragma once

#include "jobs/CreateRow.h"

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>

// The Create list: its rows in order, the selected row, and the target-row rule by which
// every change of a parameter control reaches a row. As a table it shows the caption
// (column 0) and the 30 text columns of each row (columns 1 to 30).
class CreateList : public QAbstractTableModel
{
    Q_OBJECT
public:
    static constexpr int kViewColumnCount = CreateRow::kColumnCount + 1;

    explicit CreateList(QObject* parent = nullptr);

    const QList<CreateRow>& rows() const { return rows_; }
    int count() const { return int(rows_.size()); }
    const CreateRow& at(int index) const { return rows_.at(index); }

    // The selected row, -1 when none.
    int selected() const { return selected_; }
    void setSelected(int index);
    // Where a change of a parameter goes: the selected row, else the last row; -1 when the
    // list is empty.
    int targetIndex() const;

    // Appends a row for the file; parameters are columns 1 to 29 as the controls show them.
    void append(const QString& path, const QStringList& parameters);
    void removeAt(int index);
    void clear();

    // Writes text into a column of the target row; false when the list is empty.
    bool store(int column, const QString& text);
    // The same, but only when the text is a whole number; it is stored as typed.
    bool storeNumber(int column, const QString& text);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant& value,
                       int role = Qt::EditRole) override;

private:
    QList<CreateRow> rows_;
    QStringList headers_;
    int selected_ = -1;
};
