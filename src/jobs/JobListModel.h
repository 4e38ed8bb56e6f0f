#pragma once

#include "base/EngineTexts.h"
#include "jobs/RowOutcome.h"

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>
#include <optional>

// What the Fix and the Create list share: rows in the order they were added, at most one
// selected row, a table whose header texts the language can replace, and what the last
// pass made of each row (a mark before the path, the reason of a failure as its tooltip).
// Each list says what its cells show.
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

    // Shows what the last pass made of each row; rows beyond the list given were not
    // reached. Any change of the list clears them.
    void setOutcomes(const QList<RowOutcome>& outcomes)
    {
        outcomes_ = outcomes;
        while (outcomes_.size() < rows_.size())
            outcomes_.append(RowOutcome{});
        outcomes_.resize(rows_.size());
        if (count() > 0)
            emit this->dataChanged(this->index(0, 0), this->index(count() - 1, 0));
    }
    // The outcome of a row, or nothing when no pass has run on the list as it is.
    std::optional<RowOutcome> outcomeAt(int index) const
    {
        if (index < 0 || index >= outcomes_.size())
            return std::nullopt;
        return outcomes_.at(index);
    }

    void removeAt(int index)
    {
        if (index < 0 || index >= count())
            return;
        clearOutcomes();
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
        outcomes_.clear();
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
        const std::optional<RowOutcome> outcome = outcomeAt(index.row());
        if (role == Qt::ToolTipRole)
            return outcome ? outcomeLine(*outcome) + QLatin1Char('\n') + row.fullPath()
                           : row.fullPath();
        if (outcome && index.column() == 0)
            return outcomeMark(*outcome) + QLatin1Char(' ') + cellText(row, 0);
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
        clearOutcomes();
        this->beginInsertRows({}, count(), count());
        rows_.append(row);
        this->endInsertRows();
    }

    QList<Row> rows_;

private:
    static QString outcomeMark(const RowOutcome& outcome)
    {
        switch (outcome.state) {
        case RowOutcome::State::Done:
            return QStringLiteral("\u2714");
        case RowOutcome::State::Unchanged:
            return QStringLiteral("=");
        case RowOutcome::State::Skipped:
            return QStringLiteral("\u21B7");
        case RowOutcome::State::Failed:
            return QStringLiteral("\u2718");
        case RowOutcome::State::NotReached:
            break;
        }
        return QStringLiteral("\u2013");
    }
    static QString outcomeLine(const RowOutcome& outcome)
    {
        switch (outcome.state) {
        case RowOutcome::State::Done:
            return EngineTexts::say("e_row_done");
        case RowOutcome::State::Unchanged:
            return EngineTexts::say("e_row_unchanged");
        case RowOutcome::State::Skipped:
            return EngineTexts::say("e_row_skipped") + QStringLiteral(": ") + outcome.reason;
        case RowOutcome::State::Failed:
            return EngineTexts::say("e_row_failed") + QStringLiteral(": ") + outcome.reason;
        case RowOutcome::State::NotReached:
            break;
        }
        return EngineTexts::say("e_row_not_reached");
    }
    void clearOutcomes()
    {
        if (outcomes_.isEmpty())
            return;
        outcomes_.clear();
        if (count() > 0)
            emit this->dataChanged(this->index(0, 0), this->index(count() - 1, 0));
    }

    QStringList headers_;
    QList<RowOutcome> outcomes_;
    int selected_ = -1;
};
