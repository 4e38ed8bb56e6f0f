#include "jobs/FixList.h"

#include "jobs/JobPath.h"

FixList::FixList(QObject* parent) : QAbstractTableModel(parent) {}

void FixList::setSelected(int index)
{
    selected_ = (index >= 0 && index < count()) ? index : -1;
}

void FixList::append(const QString& path)
{
    FixRow row;
    JobPath::split(path, &row.folder, &row.fileName);
    beginInsertRows({}, count(), count());
    rows_.append(row);
    endInsertRows();
}

void FixList::removeAt(int index)
{
    if (index < 0 || index >= count())
        return;
    beginRemoveRows({}, index, index);
    rows_.removeAt(index);
    if (selected_ == index)
        selected_ = -1;
    else if (selected_ > index)
        --selected_;
    endRemoveRows();
}

void FixList::clear()
{
    beginResetModel();
    rows_.clear();
    selected_ = -1;
    endResetModel();
}

int FixList::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : count();
}

int FixList::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 2;
}

QVariant FixList::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= count() ||
        (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return {};
    const FixRow& row = rows_.at(index.row());
    if (role == Qt::ToolTipRole)
        return row.fullPath();
    return index.column() == 0 ? row.folder : row.fileName;
}

QVariant FixList::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < 2)
        return headers_.at(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

bool FixList::setHeaderData(int section, Qt::Orientation orientation, const QVariant& value,
                            int role)
{
    if (orientation != Qt::Horizontal || section < 0 || section >= 2 ||
        (role != Qt::EditRole && role != Qt::DisplayRole))
        return false;
    headers_[section] = value.toString();
    emit headerDataChanged(orientation, section, section);
    return true;
}
