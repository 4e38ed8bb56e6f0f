#pragma once

#include "djvu/BookGuard.h"

#include <QString>

#include <functional>
#include <memory>

class OcrDocument;
struct OcrPageText;
class SafeChange;
class ToolRunner;

// Reads a document's text layer and writes the edited words back. The fast route reads it
// as djvused prints it (output-txt) and sets the changed pages' text in one djvused run; the
// XML route (djvutoxml, djvuxmlparser) is kept for a text layer djvused's form cannot carry
// word by word, and where it is asked for. Work files "01.xml", "02.xml" and "02.dsed" live
// in the runner's work folder.
class OcrTextLayer
{
public:
    enum class Route
    {
        Djvused, // falls back to the XML route where a word is not alone on its line
        Xml,
    };

    enum class SaveOutcome
    {
        Saved,
        NothingChanged,
        Failed,
        ChangedSinceRead, // the book is not as it was read: nothing was saved
    };

    explicit OcrTextLayer(ToolRunner& tools);
    ~OcrTextLayer();

    // Dumps the document's text layer into "01.xml" and loads it. The path reaches the tool
    // as one argument, so spaces and any letters are fine.
    bool dump(const QString& documentPath, OcrDocument& into);
    // Reads the text layer as dump() does, handing each page on as shown in the editor instead
    // of holding the whole document. On the djvused route the pages come while djvused prints
    // them, in any order; a page without text may never come. Nothing handed on counts unless
    // the reading succeeds, and after a fall back to the XML route every page is handed again:
    // a caller keeps the last text given for each page. *pageCount: the book's pages.
    using PageSink = std::function<void(int number, const OcrPageText& page)>;
    bool readPages(const QString& documentPath, const PageSink& onPage, int* pageCount);
    // Reads only page `number` of the document (djvused, select N; print-txt) and the number
    // of pages: what a window shows first while the rest is read. A book of no pages reads as
    // an empty document.
    bool dumpPage(const QString& documentPath, int number, OcrDocument& into, int* pageCount);
    void setRoute(Route route) { route_ = route; }
    // The backups a save makes (SafeChange::setBackups); none by default.
    void setBackups(int keep) { backups_ = keep; }
    // "djvused" or "xml", as the commands take it.
    static bool parseRoute(const QString& name, Route* route);

    // Hands only the changed pages to djvuxmlparser: it is slow (a tenth of a second per
    // page) and rewrites the text structure and hyperlinks of every page it is given. The
    // tool works on a copy of the document that replaces the original only after a clean
    // run whose pages read back with the edited words, so a failure leaves the document
    // exactly as it was.
    // With asRead (what readState() gave after the read), a book that changed since is not
    // written over: ChangedSinceRead, with the reason in error().
    SaveOutcome save(OcrDocument& document, const QString& documentPath,
                     const BookGuard::Files* asRead = nullptr);
    // The book's files as the last read or save of this layer left them.
    BookGuard::Files readState() const { return state_; }

    // The reason of the last failure, in the tool's own words where a tool failed.
    QString error() const { return error_; }
    // The runner already showed the failure (the tool could not be started at all).
    bool errorShown() const { return errorShown_; }

private:
    bool fail(const QString& error, bool shown = false);
    // Guards the document from the dump to the end of the save (one change at a time, an
    // interrupted change settled first, and no save over a book changed meanwhile).
    bool guard(const QString& documentPath);
    // Prepares the working copy and runs djvuxmlparser on it.
    bool writeChanges(const OcrDocument& document, SafeChange& change);
    bool setPages(const OcrDocument& document, SafeChange& change);
    bool dumpXml(const QString& documentPath, OcrDocument& into);
    // Some word begins or ends with a space or tab, which the XML tools do not keep.
    static bool edgeSpaces(const OcrDocument& document);
    // Reads the whole text layer with output-txt; false with *fallBack set when only the XML
    // route can carry it.
    // Pages go into `into` or, without one, to onPage.
    bool dumpText(const QString& documentPath, OcrDocument* into, const PageSink& onPage,
                  int* pageCount, bool* fallBack);
    bool read(const QString& documentPath, OcrDocument* into, const PageSink& onPage,
              int* pageCount);
    bool countPages(const QString& documentPath, int* count);
    // Reads the changed pages back from the working copy; *unwritten names the first page
    // whose words are not the edited ones (0 when every page is).
    bool readBack(const OcrDocument& document, const QString& copy, int* unwritten);

    ToolRunner& tools_;
    std::unique_ptr<BookGuard> guard_;
    QString error_;
    bool errorShown_ = false;
    Route route_ = Route::Djvused;
    int backups_ = -1;
    BookGuard::Files state_;
};
