#pragma once

#include <QString>
#include <QStringList>

// One row of the Create list: the file's folder (ending in the platform's separator) and
// the 30 text columns of its job parameters, exactly as the list holds them.
struct CreateRow
{
    static constexpr int kColumnCount = 30;

    QString folder;      // the row's caption
    QStringList columns; // always kColumnCount texts; column 0 is the file name

    CreateRow() : columns(kColumnCount) {}
    QString fullPath() const { return folder + columns.value(0); }
};

// One row of the Fix list.
struct FixRow
{
    QString folder; // ends in the platform's separator
    QString fileName;
    QString fullPath() const { return folder + fileName; }
};
