#pragma once

#include <QString>

#include <memory>

class BookGuard;
class OcrDocument;
class SafeChange;
class ToolRunner;

// Reads a document's text layer with djvutoxml and writes the edited words back with
// djvuxmlparser. Work files "01.xml" and "02.xml" live in the runner's work folder.
class OcrTextLayer
{
public:
    enum class SaveOutcome
    {
        Saved,
        NothingChanged,
        Failed,
    };

    explicit OcrTextLayer(ToolRunner& tools);
    ~OcrTextLayer();

    // Dumps the document's text layer into "01.xml" and loads it. The path reaches the tool
    // as one argument, so spaces and any letters are fine.
    bool dump(const QString& documentPath, OcrDocument& into);

    // Hands only the changed pages to djvuxmlparser: it is slow (a tenth of a second per
    // page) and rewrites the text structure and hyperlinks of every page it is given. The
    // tool works on a copy of the document that replaces the original only after a clean
    // run whose pages read back with the edited words, so a failure leaves the document
    // exactly as it was.
    SaveOutcome save(OcrDocument& document, const QString& documentPath);

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
    // Reads the changed pages back from the working copy; *unwritten names the first page
    // whose words are not the edited ones (0 when every page is).
    bool readBack(const OcrDocument& document, const QString& copy, int* unwritten);

    ToolRunner& tools_;
    std::unique_ptr<BookGuard> guard_;
    QString error_;
    bool errorShown_ = false;
};
