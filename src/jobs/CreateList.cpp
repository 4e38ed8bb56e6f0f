#include "jobs/CreateList.h"

#include "jobs/JobPath.h"

namespace {

QStringList viewHeaders()
{
    QStringList headers = {
        QStringLiteral("Путь"),   QStringLiteral("Файл"), QStringLiteral("1 стр."),
        QStringLiteral("2 стр."), QStringLiteral("cm"),   QStringLiteral("tp"),
        QStringLiteral("tpb"),    QStringLiteral("tps"),  QStringLiteral("col1"),
        QStringLiteral("col2"),   QStringLiteral("bw"),   QStringLiteral("vis"),
        QStringLiteral("pods"),   QStringLiteral("del2")};
    while (headers.size() < CreateList::kViewColumnCount)
        headers << QString();
    return headers;
}

} // namespace

CreateList::CreateList(QObject* parent) : JobListModel(viewHeaders(), parent) {}

int CreateList::targetIndex() const
{
    if (rows_.isEmpty())
        return -1;
    return selected() >= 0 ? selected() : count() - 1;
}

void CreateList::append(const QString& path, const QStringList& parameters)
{
    CreateRow row;
    JobPath::split(path, &row.folder, &row.columns[0]);
    for (int c = 1; c < CreateRow::kColumnCount; ++c)
        row.columns[c] = parameters.value(c - 1);
    appendRow(row);
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

QString CreateList::cellText(const CreateRow& row, int column) const
{
    return column == 0 ? row.folder : row.columns.value(column - 1);
}
