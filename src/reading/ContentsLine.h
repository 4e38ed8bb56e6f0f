#pragma once

#include "reading/PageText.h"
#include "reading/PrintedNumber.h"

#include <QString>
#include <QStringList>

// What one text line of a contents page says: the numbering it begins with, its title
// words, whether a leader follows them, and the page number at its end.
struct ContentsLine
{
    enum Style
    {
        NoNumbering = 0,
        PartWord = 1,       // "Part II", "Часть 1"
        ChapterWord = 2,    // "Chapter 3", "Глава 3", "Appendix A"
        SectionWord = 3,    // "§ 2", "Section 4"
        RomanNumbering = 4, // "IV."
        Dotted = 5          // "1", "1.", "2.1", "8.3.4.1.1"
    };

    ZoneBox box;
    QString numbering; // as it will stand in the title: "8.3.4.1.1", "Глава 3"
    Style style = NoNumbering;
    int depth = 0;       // parts of a dotted numbering; 1 for the other styles
    QStringList words;   // title words after the numbering, letter spacing joined
    bool leader = false; // a leader stands after the title words

    PrintedNumber number;
    QString numberText;         // the number as read: "13" for a printed "l3"
    QString numberAsPrinted;    // the word as the OCR gives it
    bool numberMisread = false; // read through look-alike letters or stray marks
    ZoneBox numberBox;
    bool numberAfterLeader = false;
    int gapBeforeNumber = 0; // blank space between the number and the word before it

    // Digits closing the last title word ("G46") or standing as its last word, when the
    // line has no number: perhaps a page number that lost its leader.
    QString trailingDigits;

    bool hasNumber() const { return number.kind != PrintedNumber::None; }
    // Nothing but a number (and perhaps a leader before it).
    bool numberOnly() const { return hasNumber() && words.isEmpty() && numbering.isEmpty(); }
    bool hasTitle() const { return !words.isEmpty() || !numbering.isEmpty(); }
    int height() const { return box.ymax - box.ymin; }
    QString title() const;

    // A word of a line, or a part of one: leaders are split off ("title.....15" gives three).
    struct Piece
    {
        QString text;
        ZoneBox box;
        bool leader = false;
    };
    static QList<Piece> pieces(const TextLine& line);
    // The share of a word's box that its characters from `from` to `to` take.
    static ZoneBox partOf(const ZoneBox& box, qsizetype from, qsizetype to, qsizetype length);

    static ContentsLine read(const TextLine& line);
    // Gives the number back to the title: it was a digit of the title after all.
    void dropNumber();

    // Lower-case words without surrounding punctuation, numbering pieces joined ("8.3" ".4"
    // → "8.3.4"), "1." → "1": the form in which titles and headings are compared.
    static QStringList comparable(const QStringList& words);
    static bool isLeaderChar(QChar c);
};
