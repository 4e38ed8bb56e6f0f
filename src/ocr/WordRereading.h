#pragma once

#include "ocr/PageRecognizer.h"

namespace tesseract {
class TessBaseAPI;
}

// Where the picture of a page stands against the page: its size in pixels and the page's
// units per pixel.
struct PictureScale
{
    int width = 0, height = 0;
    int pageHeight = 0;
    double sx = 1, sy = 1;
};

// A book in one language quotes words of another: names, terms, titles in brackets. The
// language set reads such a word with the book's own letters when they look alike ("Раде" for
// "Page", "О" for "6"). Each doubtful word of letters' height is read again alone with the
// set's other language, already given the page's picture; the other reading is kept when
// the library is much surer of it. sure: the page's confidence summed over letters, kept up to
// date. False when the cancel token stopped it.
bool rereadWords(tesseract::TessBaseAPI& other, const PictureScale& picture, int usual,
                 const CancelToken* cancel, QList<QList<PageRecognizer::ReadWord>>* lines,
                 double* sure);

// A contents line whose leader of dots leads to no number: the layout left out the column of
// page numbers beside it. The strip right of each such leader, up to the column's right edge,
// is read again alone as one line, and a page number found there (digits or roman) ends the
// line. A short word of letters where the number after a leader stands ("SL" for "31") is
// read again as digits alone, and a sure number found there takes its place. api: the page's own
// reader, given its picture. False when the cancel token stopped it.
bool readNumbersAfterLeaders(tesseract::TessBaseAPI& api, const PictureScale& picture, int usual,
                             const CancelToken* cancel,
                             QList<QList<PageRecognizer::ReadWord>>* lines);
