#pragma once

#include "reading/PageText.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

// Builds small real DjVu books for tests and benchmarks with DjVuLibre's own tools:
// pbmmake + cjb2 for blank pages, djvm -c to bundle, one djvused script for the text
// layer, the annotations and the page titles. Coordinates are DjVu's: origin at the
// bottom-left corner of the page.

struct FixtureWord
{
    int left = 0, bottom = 0, right = 0, top = 0;
    QString text;
};

struct FixtureLine
{
    QList<FixtureWord> words; // a line without words is written as an empty line record

    // Lays the words out left to right from `left`, each charWidth per letter, gap apart.
    static FixtureLine layout(int left, int bottom, const QStringList& words, int height = 40,
                              int charWidth = 24, int gap = 20);
    // A contents line: the title words from `left`, the leader word (none when empty)
    // filling the space up to the page number, and the number ending at numberRight.
    static FixtureLine entry(int left, int bottom, const QStringList& title, const QString& number,
                             const QString& leader = QStringLiteral(".........."),
                             int numberRight = 2200);
};

struct FixturePage
{
    QString id;    // identifier inside the bundle; "p0001.djvu"... when empty
    QString title; // page title (djvused set-page-title), none when empty
    int width = 2480;
    int height = 3508;
    bool hasText = true; // false, or no lines: no text layer at all
    QList<FixtureLine> lines;
    QString annotations; // body of a set-ant block (without the final "."), none when empty
    // Lines printed on the page's picture (pbmtext's own font, scaled up `printedScale`
    // times), from `printedLeft`, `printedTop` pixels from the top-left corner: a page with
    // real print for recognition. None when empty: the page is blank.
    QStringList printed;
    int printedScale = 4;
    int printedLeft = 300;
    int printedTop = 400;
    // Bytes put into the page's ANTa chunk as they stand, past djvused's own checks: the
    // annotations a damaged or hostile document may carry. None when empty.
    QByteArray rawAnnotations;

    // A page whose text lines are given as word lists, 100 pixels apart from the top down.
    static FixturePage ofLines(const QList<QStringList>& lines, int left = 300, int top = 3000);
    // A page of a book's body: the heading on its first line, some running text below, and
    // the printed page number at the foot when one is given.
    static FixturePage headed(const QStringList& heading, const QString& folio = QString());
    // A book of `count` pages whose first page is a contents of two chapters, on pages 1 and 3.
    static QList<FixturePage> twoChapterBook(int count);
    // The same book of four pages with something for every writing command to change: page 2
    // carries two link areas out of line (for fix) besides the contents (create), the text
    // layer (ocr-import) and no outline (outline-import).
    static QList<FixturePage> everyChangeBook();
};

class DjvuFixture
{
public:
    // Writes a bundled document with these pages to `path`. With one page and
    // singlePageFile set, writes a plain single-page document instead.
    static bool build(const QString& path, const QList<FixturePage>& pages, QString* error,
                      bool singlePageFile = false);

    // Writes an indirect document: the index file `indexPath` and one file per page (named
    // by the page identifiers) beside it, made from the bundled document build() writes.
    static bool buildIndirect(const QString& indexPath, const QList<FixturePage>& pages,
                              QString* error);

    // Runs `djvused <path> -e <commands>` and returns its standard output ("" on failure).
    static QString djvused(const QString& path, const QString& commands);
    // Gives the document this outline, an expression "(bookmarks ...)" in djvused's syntax
    // written as it stands, and saves it.
    static bool setOutline(const QString& path, const QString& expression, QString* error);
    // Runs a djvused script file on the document and saves it.
    static bool applyScript(const QString& path, const QString& script, QString* error);
    // Gives the document 64-pixel thumbnails and a shared annotation file, and saves it.
    static bool addThumbnailsAndSharedAnnotations(const QString& path, QString* error);

    // The text-layer expression of one page, as set-txt takes it.
    static QString textLayer(const FixturePage& page);
    // The text layers of these pages as the engine reads them, by page number from 1; a page
    // without text has none.
    static QMap<int, PageText> pageTexts(const QList<FixturePage>& pages);
    // A string in djvused's quoted form: \" \\ and octal escapes for bytes above 127.
    static QString quote(const QString& text);

    static QByteArray readAll(const QString& path);
    static bool writeAll(const QString& path, const QByteArray& bytes);
    // Every entry of a folder, hidden ones included, by name: a file's bytes, or "<folder>"
    // for a folder. Compares whole folders byte for byte and shows what was left behind.
    static QMap<QString, QByteArray> readFolder(const QString& folder);

    // Writes `<folder>/bin/djvused`, a stand-in that hands every run to the real djvused
    // except one whose arguments include `word` ("-s" for a saving run, "ls", ...): that one
    // writes its process id into `marker` and sleeps for ten minutes, printing nothing, until
    // it is killed. The folder then serves as an exe folder, or its bin/ goes first on PATH.
    // Given a gate, that run instead waits until the file `gate` exists and then goes on as
    // the real djvused; a gate that stays shut for half a minute makes it fail.
    static bool writeSleepingDjvused(const QString& folder, const QString& word,
                                     const QString& marker, const QString& gate = QString());
    // The same for any tool of DjVuLibre; an empty word stops every run of it.
    static bool writeSleepingTool(const QString& folder, const QString& tool, const QString& word,
                                  const QString& marker, const QString& gate = QString());
    // Writes `<folder>/bin/djvused`, a stand-in that hands every run to the real djvused
    // except one whose arguments include `word` ("output-ant", ...): that one prints
    // `printed` and exits 0, as a djvused that misreads the document would.
    static bool writeMisreadingDjvused(const QString& folder, const QString& word,
                                       const QByteArray& printed);
    // Waits until the sleeping stand-in has written its marker; its process id.
    static qint64 waitForMarker(const QString& marker);
    // The process still exists (a zombie counts as gone).
    static bool processAlive(qint64 pid);
};
