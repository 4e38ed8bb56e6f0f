#pragma once

#include "jobs/CreateRow.h"

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>

// The Fix list: the documents whose hyperlinks the Fix pass aligns, in the order they were
// added. As a table it shows the folder ("Путь") and the file name ("Файл").
class FixList : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit FixList(QObject* parent = nullptr);

    const QList<FixRow>& rows() const { return rows_; }
    int count() const { return int(rows_.size()); }
    const FixRow& at(int index) const { return rows_.at(index); }

    int selected() const { return selected_; }
    void setSelected(int index);

    void append(const QString& path);
    void removeAt(int index);
    void clear();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant& value,
                       int role = Qt::EditRole) override;

private:
    QList<FixRow> rows_;
    QStringList headers_{QStringLiteral("Путь"), QStringLiteral("Файл")};
    int selected_ = -1;
};
