#pragma once

#include "jobs/CreateRow.h"
#include "jobs/JobListModel.h"

// The Fix list: the documents whose hyperlinks the Fix pass aligns, in the order they were
// added. As a table it shows the folder ("Путь") and the file name ("Файл").
class FixList : public JobListModel<FixRow>
{
    Q_OBJECT
public:
    explicit FixList(QObject* parent = nullptr);

    void append(const QString& path);

protected:
    QString cellText(const FixRow& row, int column) const override;
};
