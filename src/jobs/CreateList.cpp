#include "jobs/CreateList.h"

#include "jobs/JobPath.h"

CreateList::CreateList(QObject* parent) : QAbstractTableModel(parent)
{
    headers_ = {QStringLiteral("Путь"),   QStringLiteral("Файл"), QStringLiteral("1 стр."),
                QStringLiteral("2 стр."), QStringLiteral("cm"),   QStringLiteral("tp"),
                QStringLiteral("tpb"),    QStringLiteral("tps"),  QStringLiteral("col1"),
                QStringLiteral("col2"),   QStringLiteral("bw"),   QStringLiteral("vis"),
                QStringLiteral("pods"),   QStringLiteral("del2")};
    while (headers_.size() < kViewColumnCount)
        headers_ << QString();
}

void CreateList::setSelected(int index)
{
    selected_ = (index >= 0 && index < count()) ? index : -1;
}

int CreateList::targetIndex() const
{
    if (rows_.isEmpty())
        return -1;
    return selected_ >= 0 ? selected_ : count() - 1;
}

void CreateList::append(const QString& path, const QStringList& parameters)
{
    CreateRow row;
    JobPath::split(path, &row.folder, &row.columns[0]);
    for (int c = 1; c < CreateRow::kColumnCount; ++c)
        row.columns[c] = parameters.value(c - 1);
    beginInsertRows({}, count(), count());
    rows_.append(row);
    endInsertRows();
}

void CreateList::removeAt(int index)
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

void CreateList::clear()
{
    beginResetModel();
    rows_.clear();
    selected_ = -1;
    endResetModel();
}

bool CreateList::store(int column, const QString& text)
{
    const int target = targetIndex();
    if (target < 0 || column < 0 || column >= CreateRow::kColumnCount)
        return false;
    rows_[target].columns[column] = text;
    const QModelIndex cell = index(target, column + 1);
    emit dataChanged(cell, cell);
    return true;
}

bool CreateList::storeNumber(int column, const QString& text)
{
    return JobPath::isWholeNumber(text) && store(column, text);
}

int CreateList::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : count();
}

int CreateList::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kViewColumnCount;
}

QVariant CreateList::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= count() ||
        (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return {};
    const CreateRow& row = rows_.at(index.row());
    if (role == Qt::ToolTipRole)
        return row.fullPath();
    return index.column() == 0 ? row.folder : row.columns.value(index.column() - 1);
}

QVariant CreateList::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < headers_.size())
        return headers_.at(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

bool CreateList::setHeaderData(int section, Qt::Orientation orientation, const QVariant& value,
                               int role)
{
    if (orientation != Qt::Horizontal || section < 0 || section >= headers_.size() ||
        (role != Qt::EditRole && role != Qt::DisplayRole))
        return false;
    headers_[section] = value.toString();
    emit headerDataChanged(orientation, section, section);
    return true;
}
