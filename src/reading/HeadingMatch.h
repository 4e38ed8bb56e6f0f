#pragma once

#include "reading/PageText.h"

#include <QList>
#include <QStringList>

// Whether a page carries an entry's heading as books print it: "2.1 Title" at the start of a
// line; or in the upper part of the page "CHAPTER 1", "Chapter One", "ГЛАВА 1", "Lecture 3"
// or the number alone, with the title on the lines below; the title maybe cut short and its
// words maybe misread by the OCR. Words are compared in ContentsLine::comparable form.
namespace HeadingMatch {

struct Line
{
    QStringList words;  // comparable
    bool upper = false; // in the upper part of the page, where chapter headings stand
};

// The body lines of a page in reading order: the header and footer rows (the topmost and
// bottommost lines and those beside them, set apart by a gap) left out, so that a running
// head is never taken for a heading.
QList<Line> bodyLines(const PageText& page);

// The title with a leading "chapter", "глава", "lecture" ... word dropped and its number
// ("One", "IV", "l2") written in digits: the form titles and headings meet in.
QStringList normalised(const QStringList& comparable);

// The words that must be found: the numbering and up to three words, or for an unnumbered
// title up to three words with enough letters; empty when the title is too short to be told
// apart from ordinary text. Takes a normalised title.
QStringList key(const QStringList& title);

// The same word, allowing for a letter or two misread on a long word.
bool sameWord(const QString& a, const QString& b);

// The heading of this (normalised) title stands among these lines.
bool onPage(const QStringList& title, const QList<Line>& lines);

} // namespace HeadingMatch
