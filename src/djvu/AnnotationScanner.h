#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// One rectangle or oval hyperlink area found in a djvused annotation script, with where its
// left edge and width stand in the text, so that exactly those digits can be replaced.
struct ScannedArea
{
    int block = 0;        // the page block it belongs to (0 before the first select command)
    bool internal = true; // its link is "#..." inside this document
    int left = 0;
    int bottom = 0;
    int width = 0;
    int height = 0;
    qsizetype leftPos = 0;
    qsizetype leftLength = 0;
    qsizetype widthPos = 0;
    qsizetype widthLength = 0;
};

struct AnnotationScan
{
    QList<ScannedArea> areas; // in the order they stand in the text
    int blockCount = 1;       // page blocks, the one before the first select command included
    QList<int> blockPages{0}; // the page number of each block ("# page N"), 0 when unknown
    QString error;            // why the script could not be read; empty when it could
    bool ok() const { return error.isEmpty(); }
};

// Reads the script that `djvused -e output-ant` prints, token by token: page blocks begin at
// `select` commands, annotations are the bodies of `set-ant` commands up to their "." line,
// and an area is a `(rect x y w h)` or `(oval x y w h)` directly inside a `(maparea ...)`.
// Quoted links and comments are skipped whole, so no word inside them counts.
class AnnotationScanner
{
public:
    static AnnotationScan scan(const QByteArray& script);
};
