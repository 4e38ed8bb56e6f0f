#include "review/ReviewModel.h"
#include "base/EngineTexts.h"
#include "base/Plural.h"
#include "links/SmartPlan.h"
#include "reading/SmartReading.h"

#include <QRegularExpression>

#include <algorithm>

ReviewModel::ReviewModel(QObject* parent)
    : QAbstractTableModel(parent), headers_{QStringLiteral("Title"), QStringLiteral("Printed"),
                                            QStringLiteral("Target"), QStringLiteral("Check")},
      checkWords_{QStringLiteral("found"), QStringLiteral("not found"), QStringLiteral("too short"),
                  QStringLiteral("no text")}
{
}

void ReviewModel::setPlan(const ContentsPlan& plan, int offset)
{
    beginResetModel();
    plan_ = plan;
    offset_ = offset;
    entries_.clear();
    added_.clear();
    for (const PlanPage& page : plan.pages)
        for (const PlanEntry& entry : page.entries)
            entries_.append(ReviewEntry{entry, true, ReviewEntry::Check::Unknown});
    endResetModel();
}

void ReviewModel::setOffset(int offset)
{
    const qint64 change = qint64(offset) - offset_;
    offset_ = offset;
    if (change == 0 || entries_.isEmpty())
        return;
    const qint64 last = std::max(plan_.pageCount, 1);
    for (ReviewEntry& e : entries_) {
        e.entry.targetPage = std::clamp<qint64>(e.entry.targetPage + change, 1, last);
        e.check = ReviewEntry::Check::Unknown;
    }
    emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
    emit targetsChanged();
}

bool ReviewModel::setTarget(int row, qint64 page)
{
    if (!valid(row) || page < 1 || (plan_.pageCount > 0 && page > plan_.pageCount))
        return false;
    if (entries_[row].entry.targetPage == page)
        return true;
    entries_[row].entry.targetPage = page;
    entries_[row].check = ReviewEntry::Check::Unknown;
    rowChanged(row);
    emit targetsChanged();
    return true;
}

bool ReviewModel::setTitle(int row, const QString& title)
{
    const QString simplified = title.simplified();
    if (!valid(row) || simplified.isEmpty())
        return false;
    PlanEntry& e = entries_[row].entry;
    e.title = simplified;
    e.words = simplified.split(QLatin1Char(' '));
    rowChanged(row);
    return true;
}

bool ReviewModel::setLevel(int row, int level)
{
    if (!valid(row) || level < 1)
        return false;
    entries_[row].entry.level = level;
    rowChanged(row);
    return true;
}

bool ReviewModel::shiftLevel(int row, int change)
{
    return valid(row) &&
           setLevel(row, std::clamp(entries_[row].entry.level + change, 1, kDeepestLevel));
}

bool ReviewModel::removeEntry(int row)
{
    if (!valid(row))
        return false;
    beginRemoveRows({}, row, row);
    entries_.removeAt(row);
    endRemoveRows();
    return true;
}

QList<PlanEntry> ReviewModel::planEntries() const
{
    QList<PlanEntry> entries;
    for (const ReviewEntry& e : entries_)
        entries << e.entry;
    return entries;
}

QList<int> ReviewModel::openLines() const
{
    QList<int> open;
    const QList<LineAccount::Line>& lines = plan_.lines.lines;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (LineAccount::isUnlinked(lines[i]) && !added_.contains(int(i)))
            open << int(i);
    }
    return open;
}

int ReviewModel::addLine(int line)
{
    if (!openLines().contains(line))
        return -1;
    const QList<PlanEntry> entries = planEntries();
    const int row = placeOfLine(plan_, line, entries);
    const PlanEntry entry = entryOfLine(plan_, line, entries, row, offset_);
    added_ << line;
    beginInsertRows({}, row, row);
    entries_.insert(row, ReviewEntry{entry, true, ReviewEntry::Check::Unknown});
    endInsertRows();
    emit targetsChanged();
    return row;
}

int ReviewModel::placeOfLine(const ContentsPlan& plan, int line, const QList<PlanEntry>& entries)
{
    const QList<LineAccount::Line>& lines = plan.lines.lines;
    // The entry that a linked line of the account became: the one on its page whose area
    // holds the line's middle.
    auto rowOf = [&](const LineAccount::Line& l) {
        if (l.role != LineAccount::Role::Entry || !l.linked)
            return -1;
        const int x = (l.box.xmin + l.box.xmax) / 2, y = (l.box.ymin + l.box.ymax) / 2;
        for (qsizetype r = 0; r < entries.size(); ++r) {
            const BorderExpression::Box& a = entries[r].area;
            if (entries[r].contentsPage == l.page && x >= a.x && x <= a.x + a.width && y >= a.y &&
                y <= a.y + a.height)
                return int(r);
        }
        return -1;
    };
    for (int i = line - 1; i >= 0; --i)
        if (const int row = rowOf(lines[i]); row >= 0)
            return row + 1;
    for (qsizetype i = line + 1; i < lines.size(); ++i)
        if (const int row = rowOf(lines[i]); row >= 0)
            return row;
    const int page = lines.value(line).page;
    int row = 0;
    while (row < entries.size() && entries[row].contentsPage <= page)
        ++row;
    return row;
}

PlanEntry ReviewModel::entryOfLine(const ContentsPlan& plan, int line,
                                   const QList<PlanEntry>& entries, int place, int offset)
{
    static const QRegularExpression leader(QStringLiteral("^[.\\x{2026}\\x{00B7}_\\-\\x{2013}]+$"));
    static const QRegularExpression number(QStringLiteral("^\\d{1,6}$"));
    const LineAccount::Line& l = plan.lines.lines.value(line);
    PlanEntry e;
    e.contentsPage = l.page;
    QStringList words = l.text.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.size() > 1 && number.match(words.last()).hasMatch())
        e.printed = words.takeLast().toUtf8();
    while (words.size() > 1 && leader.match(words.last()).hasMatch())
        words.removeLast();
    if (words.isEmpty())
        words << l.text.simplified();
    e.words = words;
    e.title = words.join(QLatin1Char(' '));
    e.area = {l.box.xmin, l.box.ymin, l.box.xmax - l.box.xmin, l.box.ymax - l.box.ymin};
    e.comment = SmartPlan::entryComment(plan.entryComment, e.printed);
    const PlanEntry* before = place > 0 && place <= entries.size() ? &entries[place - 1] : nullptr;
    const PlanEntry* after = place >= 0 && place < entries.size() ? &entries[place] : nullptr;
    if (!e.printed.isEmpty())
        e.targetPage = SmartReading::target(e.printed.toLongLong(), offset, plan.halve);
    else if (after)
        e.targetPage = after->targetPage;
    else if (before)
        e.targetPage = before->targetPage;
    e.targetPage = std::clamp<qint64>(e.targetPage, 1, std::max(plan.pageCount, 1));
    e.level = before ? std::max(before->level, 1) : 1;
    return e;
}

void ReviewModel::setTicked(int row, bool ticked)
{
    if (!valid(row))
        return;
    entries_[row].ticked = ticked;
    rowChanged(row);
}

void ReviewModel::setCheck(int row, ReviewEntry::Check check)
{
    if (!valid(row))
        return;
    entries_[row].check = check;
    rowChanged(row);
}

void ReviewModel::rowChanged(int row)
{
    emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

ContentsPlan ReviewModel::reviewed() const
{
    QList<PlanEntry> kept;
    for (const ReviewEntry& e : entries_)
        if (e.ticked)
            kept << e.entry;
    ContentsPlan plan = plan_;
    int bad = 0;
    QString error;
    placeEntries(&plan, kept, &bad, &error); // the model's own pages and targets always fit
    return plan;
}

bool ReviewModel::placeEntries(ContentsPlan* plan, const QList<PlanEntry>& entries, int* bad,
                               QString* error)
{
    for (PlanPage& page : plan->pages)
        page.entries.clear();
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const PlanEntry& entry = entries[i];
        *bad = int(i);
        if (entry.targetPage < 1 || (plan->pageCount > 0 && entry.targetPage > plan->pageCount)) {
            *error = EngineTexts::say("e_review_page_outside")
                         .arg(entry.targetPage)
                         .arg(Plural::count("e_n_pages", plan->pageCount));
            return false;
        }
        auto page = std::find_if(plan->pages.begin(), plan->pages.end(),
                                 [&](const PlanPage& p) { return p.page == entry.contentsPage; });
        // A contents page where the reading found no entry takes those made by hand.
        const auto range =
            std::find_if(plan->ranges.begin(), plan->ranges.end(), [&](const PlanRange& r) {
                return entry.contentsPage >= r.firstPage && entry.contentsPage <= r.lastPage;
            });
        if (page == plan->pages.end() && range != plan->ranges.end()) {
            page = std::find_if(plan->pages.begin(), plan->pages.end(),
                                [&](const PlanPage& p) { return p.page > entry.contentsPage; });
            page = plan->pages.insert(
                page, PlanPage{entry.contentsPage, {}, int(range - plan->ranges.begin())});
        }
        if (page == plan->pages.end()) {
            *error = EngineTexts::say("e_review_not_contents").arg(entry.contentsPage);
            return false;
        }
        page->entries << entry;
    }
    return true;
}

void ReviewModel::setHeaders(const QStringList& headers)
{
    if (headers.size() != ColumnCount)
        return;
    headers_ = headers;
    emit headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
}

void ReviewModel::setCheckWords(const QStringList& words)
{
    if (words.size() != checkWords_.size())
        return;
    checkWords_ = words;
    if (!entries_.isEmpty())
        emit dataChanged(index(0, CheckColumn), index(rowCount() - 1, CheckColumn));
}

int ReviewModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(entries_.size());
}

int ReviewModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ReviewModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !valid(index.row()))
        return {};
    const ReviewEntry& e = entries_[index.row()];
    if (role == FailedRole)
        return e.check == ReviewEntry::Check::NotFound || e.check == ReviewEntry::Check::NoText;
    if (role == Qt::CheckStateRole && index.column() == TitleColumn)
        return e.ticked ? Qt::Checked : Qt::Unchecked;
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    switch (index.column()) {
    case TitleColumn:
        if (role == Qt::EditRole)
            return e.entry.title;
        return QString(2 * std::max(e.entry.level - 1, 0), QLatin1Char(' ')) + e.entry.title;
    case PrintedColumn:
        return QString::fromUtf8(e.entry.printed);
    case TargetColumn:
        return e.entry.targetPage;
    case CheckColumn: {
        QStringList words;
        if (e.check != ReviewEntry::Check::Unknown)
            words << checkWords_.value(int(e.check) - 1);
        if (e.entry.correctedFrom > 0)
            words << movedWords_.arg(e.entry.correctedFrom);
        return words.join(QStringLiteral(", "));
    }
    }
    return {};
}

bool ReviewModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || !valid(index.row()))
        return false;
    if (role == Qt::CheckStateRole && index.column() == TitleColumn) {
        setTicked(index.row(), value.toInt() == Qt::Checked);
        return true;
    }
    if (role != Qt::EditRole)
        return false;
    if (index.column() == TitleColumn)
        return setTitle(index.row(), value.toString());
    if (index.column() == TargetColumn) {
        bool ok = false;
        const qint64 page = value.toString().trimmed().toLongLong(&ok);
        return ok && setTarget(index.row(), page);
    }
    return false;
}

Qt::ItemFlags ReviewModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.column() == TitleColumn)
        flags |= Qt::ItemIsUserCheckable | Qt::ItemIsEditable;
    if (index.column() == TargetColumn)
        flags |= Qt::ItemIsEditable;
    return flags;
}

QVariant ReviewModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    return headers_.value(section);
}
