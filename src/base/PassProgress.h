#pragma once

#include <QString>

// Where a batch pass is: which document of how many, the step within it, and the page of the
// step when the step walks pages.
struct PassProgress
{
    enum class Step
    {
        Starting,           // checks and the backup copy
        Listing,            // the page listing
        ReadingText,        // the text layer of the book
        ReadingAnnotations, // the links the book has
        Recognising,        // the contents pages, page by page
        MeasuringPages,     // the page sizes that bound aligned links
        Saving,             // the tool changes the working copy
        Replacing,          // the working copy takes the document's place
        Aligning,           // the alignment that follows a Create run
    };

    int document = 0; // 1 for the first
    int documents = 0;
    QString path;
    Step step = Step::Starting;
    int page = 0; // 1 for the first page the step walks; 0 when it walks none
    int pages = 0;

    // The share of the whole run done, in thousandths, for a progress bar.
    int permille() const;
};

// Told of every step a pass takes. The window moves a progress bar; tests record.
class ProgressSink
{
public:
    virtual ~ProgressSink() = default;
    // Called on the pass's own thread.
    virtual void progress(const PassProgress& where) = 0;
};
