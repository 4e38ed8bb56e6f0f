#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>

// What the Fix and the Create list share: rows in the order they were added, at most one
// selected row, and a table whose header texts the language can replace. Each list says
// what its cells show.
template <typename Row> class JobListModel : public QAbstractTableModel
{
public:
    explicit JobListModel(QStringList headers, QObject* parent = nullptr)
        : QAbstractTableModel(parent), headers_(std::move(headers))
    {
    }

    const QList<Row>& rows() const { return rows_; }
    int count() const { return int(rows_.size()); }
    const Row& at(int index) const { return rows_.at(index); }

    // The selected row, -1 when none.
    int selected() const { return selected_; }
    void setSelected(int index) { selected_ = (index >= 0 && index < count()) ? index : -1; }

    void removeAt(int index)
    {
        if (index < 0 || index >= count())
            return;
        this->beginRemoveRows({}, index, index);
        rows_.removeAt(index);
        if (selected_ == index)
            selected_ = -1;
        else if (selected_ > index)
            --selected_;
        this->endRemoveRows();
    }

    void clear()
    {
        this->beginResetModel();
        rows_.clear();
        selected_ = -1;
        this->endResetModel();
    }

    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : count();
    }
    int columnCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : int(headers_.size());
    }
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override
    {
        if (!index.isValid() || index.row() >= count() ||
            (role != Qt::DisplayRole && role != Qt::ToolTipRole))
            return {};
        const Row& row = rows_.at(index.row());
        if (role == Qt::ToolTipRole)
            return row.fullPath();
        return cellText(row, index.column());
    }
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
            section < headers_.size())
            return headers_.at(section);
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant& value,
                       int role = Qt::EditRole) override
    {
        if (orientation != Qt::Horizontal || section < 0 || section >= headers_.size() ||
            (role != Qt::EditRole && role != Qt::DisplayRole))
            return false;
        headers_[section] = value.toString();
        emit this->headerDataChanged(orientation, section, section);
        return true;
    }

protected:
    virtual QString cellText(const Row& row, int column) const = 0;

    void appendRow(const Row& row)
    {
        this->beginInsertRows({}, count(), count());
        rows_.append(row);
        this->endInsertRows();
    }

    QList<Row> rows_;

private:
    QStringList headers_;
    int selected_ = -1;
};
