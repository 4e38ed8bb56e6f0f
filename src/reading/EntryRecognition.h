#pragma once

#include "djvu/TextDump.h"
#include "jobs/JobValues.h"
#include "reading/BorderExpression.h"

#include <QByteArray>
#include <QList>

// Decides, word by word of a contents or index page, which words are entries, which page
// each names and which rectangle becomes its clickable area. Works only on the layout of
// the text layer and on the form of the words (ASCII digits versus escaped characters).
class EntryRecognition
{
public:
    struct Settings
    {
        WorkKind kind = JobDefaults::kind;
        int offset = 0;
        bool halve = false; // printed page numbers are divided by 2
        QByteArray comment; // escaped comment of the areas (blanks kept)
        bool checkPageCount = false;
        int pageCount = 0;
    };

    // One word record of a contents page, with what the walk knows around it.
    struct Word
    {
        QByteArray text;         // as printed, escaped, after tab normalisation
        ZoneBox zone;            // kinds 0 and 1: the text line's box; kind 2: the word's
        ZoneBox box;             // the word's own box
        int previousLineTop = 0; // top of the text line before this one on the page, or 0
        int wordsInLine = 0;     // words of the text line so far, this one included
        int pageOrdinal = 0;
        bool lastOfLine = true; // the next record of the dump is not a word
    };

    struct Area
    {
        QByteArray printed; // the page number as the word gives it
        qint64 targetPage = 0;
        QByteArray comment;
        BorderExpression::Box box;
    };

    // What became of the entries of one page: the areas made, and the entries that got no
    // area, by why.
    struct Tally
    {
        int made = 0;
        int beforeFirstPage = 0; // the target page lies before page 1
        int beyondLastPage = 0;  // the target page lies past the document's last page
        int fallingNumber = 0;   // contents: a number smaller than the entry above it
        int outsidePage = 0;     // the area would lie outside the page
        int skipped() const
        {
            return beforeFirstPage + beyondLastPage + fallingNumber + outsidePage;
        }
    };

    // Only the first this many numbers of one index word get an area each.
    static constexpr int kMaxNumbersPerWord = 100;

    explicit EntryRecognition(Settings settings);

    // A new page begins: the areas of its first entry reach up from its own line.
    void startPage();
    // The box of the current page, from its page record; areas are kept inside it.
    void setPageBox(const ZoneBox& box);
    QList<Area> examine(const Word& word);
    // The tally of the entries examined since the last call.
    Tally takeTally();

    int lastPageNumber() const { return lastPage_; }

    // Kinds 0 and 1: the one run of digits of a word ("15." gives 15, "1-15" none).
    static bool contentsNumber(const QByteArray& text, QByteArray* digits);
    // Kind 2: a list ("15,17", "15—17") or a single number text.
    static void indexNumbers(QByteArray text, QList<QByteArray>* list, QByteArray* digits);
    static qint64 targetPage(qint64 printed, int offset, bool halve);
    // a / b rounded to the nearest whole number, halves to the even neighbour.
    static qint64 roundHalfEven(qint64 a, qint64 b);

private:
    bool accept(qint64 page, const Word& word) const;
    // false without an area: for a zero height, or (*placed false) outside the page.
    bool contentsArea(ZoneBox zone, int previousLineTop, Area* area, int* alignedLeft,
                      bool* placed) const;
    // Puts a box computed in wide numbers into the area; false when nothing of it lies on
    // the page or a number has more than nine digits.
    bool placeBox(qint64 x, qint64 y, qint64 width, qint64 height, Area* area) const;
    bool targetBeyond(qint64 page) const;
    QByteArray commentFor(qint64 page) const;
    void remember(qint64 page, const ZoneBox& zone, int left, int ordinal);
    QList<Area> areasOf(const Word& word, qint64 page, const QByteArray& digits,
                        const QList<QByteArray>& listTexts, const QList<qint64>& list, int* left);

    Settings settings_;
    QByteArray trimmedComment_;
    qint64 lastPage_ = 0;
    int lastTop_ = 0;
    int lastLeft_ = 0;
    int lastRight_ = 0;
    int lastOrdinal_ = 0;
    ZoneBox pageBox_;
    bool pageBoxKnown_ = false;
    Tally tally_;
};
