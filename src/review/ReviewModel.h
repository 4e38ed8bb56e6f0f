#pragma once

#include "links/ContentsPlan.h"

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>

// One entry under review: what recognition planned, whether it is to be written, and whether
// its title stands on the page it leads to.
struct ReviewEntry
{
    enum class Check
    {
        Unknown,     // not checked yet
        Found,       // the title heads a line of the target page
        NotFound,    // the target page does not show it
        Uncheckable, // the title is too short to be told apart from ordinary text
        NoText       // the target page has no text layer
    };
    PlanEntry entry;
    bool ticked = true;
    Check check = Check::Unknown;
};

// The entries of one document's plan as the user reviews them before anything is written:
// each can get another target, title or level, be left out or deleted, and an offset change
// moves every target at once; a line the reading did not link can become an entry. The
// reviewed plan holds exactly the ticked entries.
class ReviewModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column
    {
        TitleColumn, // checkable: ticked entries are written; indented by level
        PrintedColumn,
        TargetColumn,
        CheckColumn,
        ColumnCount
    };
    // data() of this role: true for an entry whose title was not found on its target page.
    static constexpr int FailedRole = Qt::UserRole + 1;

    explicit ReviewModel(QObject* parent = nullptr);

    // Takes the plan's entries, all ticked; `offset` is the offset their targets were read with.
    void setPlan(const ContentsPlan& plan, int offset);
    const ContentsPlan& plan() const { return plan_; }
    const QList<ReviewEntry>& entries() const { return entries_; }

    int offset() const { return offset_; }
    // Moves every target by the change of the offset; targets stay within the book.
    void setOffset(int offset);
    // False for a page outside the book.
    bool setTarget(int row, qint64 page);
    bool setTitle(int row, const QString& title);
    // Levels count from 1 (a chapter).
    bool setLevel(int row, int level);
    static constexpr int kDeepestLevel = 9;
    // The level one deeper (`change` 1) or one higher (-1), from 1 to kDeepestLevel.
    bool shiftLevel(int row, int change);
    void setTicked(int row, bool ticked);
    void setCheck(int row, ReviewEntry::Check check);
    bool removeEntry(int row);

    // The lines of the plan's account not linked and not yet made entries, as indexes into
    // its lines, in reading order.
    QList<int> openLines() const;
    // Makes an entry of account line `line` (see entryOfLine) and puts it where the line
    // stands among the entries; its row, or -1 when the line is no open line.
    int addLine(int line);

    // Where an entry made of account line `line` stands among `entries` in reading order:
    // after the entry of the nearest linked line before it, else before the entry of the
    // nearest one after it, else after the entries of its page and those before.
    static int placeOfLine(const ContentsPlan& plan, int line, const QList<PlanEntry>& entries);
    // An entry of a line the reading did not link: its words as title (leaders and a last
    // number left out), its box as area, the page its last number names with the offset,
    // else the target of the entry that follows it (as a heading leads to its first section),
    // else of the one before; the level of the entry before it.
    static PlanEntry entryOfLine(const ContentsPlan& plan, int line,
                                 const QList<PlanEntry>& entries, int place, int offset);

    // The plan with the ticked entries as reviewed, on their contents pages.
    ContentsPlan reviewed() const;
    // Puts `entries` on the plan's contents pages, in their order, in place of the entries
    // it had. False, naming the entry, when one stands on a page outside the plan's contents
    // pages or leads outside the book.
    static bool placeEntries(ContentsPlan* plan, const QList<PlanEntry>& entries, int* bad,
                             QString* error);

    // Captions of the columns and the words of the check column (found, not found, too short,
    // no text), in the window's language.
    void setHeaders(const QStringList& headers);
    void setCheckWords(const QStringList& words);
    // "moved from page %1": beside the check of a link the reading moved.
    void setMovedWords(const QString& words) { movedWords_ = words; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

signals:
    // A target changed: its check no longer holds and the image may show another page.
    void targetsChanged();

private:
    void rowChanged(int row);
    bool valid(int row) const { return row >= 0 && row < entries_.size(); }

    QList<PlanEntry> planEntries() const;

    ContentsPlan plan_;
    QList<ReviewEntry> entries_;
    QList<int> added_; // account lines made entries
    int offset_ = 0;
    QStringList headers_;
    QStringList checkWords_;
    QString movedWords_ = QStringLiteral("moved from page %1");
};
