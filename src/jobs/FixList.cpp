#include "jobs/FixList.h"

#include "jobs/JobPath.h"

FixList::FixList(QObject* parent)
    : JobListModel({QStringLiteral("Путь"), QStringLiteral("Файл")}, parent)
{
}

void FixList::append(const QString& path)
{
    FixRow row;
    JobPath::split(path, &row.folder, &row.fileName);
    appendRow(row);
}

QString FixList::cellText(const FixRow& row, int column) const
{
    return column == 0 ? row.folder : row.fileName;
}
