#pragma once

#include "jobs/JobValues.h"

#include <QList>
#include <QString>

#include <optional>

// The look of the new hyperlink areas.
struct AreaStyle
{
    BorderType borderType = JobDefaults::borderType;
    QString borderColour = QStringLiteral("FFFFFF"); // colour text, for border type 2
    int shadowWidth = 0;                             // for border types 3 to 6
    bool alwaysVisible = false;
    bool highlight = false;
    QString highlightColour = QStringLiteral("FFFFFF");
};

// Where the link back to the contents goes and how it looks.
struct ContentsLinkSettings
{
    AreaShape shape = JobDefaults::shape;
    std::optional<BorderType> borderType = JobDefaults::borderType; // none: no border word
    bool alwaysVisible = false;
    bool highlight = false;
    int borderWidth = 0;
    QString colour1 = QStringLiteral("000000"); // border colour, colour text
    QString colour2 = QStringLiteral("000000"); // highlight colour
    int left = 100, bottom = 50, width = 500, height = 50;
    int targetPage = 4;
    bool targetGiven = false; // named by the user: it must then be a page of the book
    QString comment = QStringLiteral("Go to content");
};

// A further contents range of a job, read with its own offset.
struct ContentsRange
{
    int firstPage = 1;
    int lastPage = 1;
    int offset = 0;
    bool offsetAuto = false;
    bool operator==(const ContentsRange&) const = default;
};

// One document's Create job: everything the engine needs to turn its contents or index
// pages into hyperlinks. The window's list rows and the command line both become jobs.
struct CreateJob
{
    QString path;
    int firstPage = 1; // the contents range, as pages of the document
    int lastPage = 1;
    int offset = 0; // added to every printed page number
    WorkKind kind = JobDefaults::kind;
    AreaShape shape = JobDefaults::shape;
    AreaStyle style;
    bool halve = false; // printed page numbers are divided by 2
    QString comment;    // the areas' comment, followed by the printed number

    bool contentsLink = false;
    int contentsLinkPage = 1;
    ContentsLinkPages contentsLinkPages = JobDefaults::linkPages;
    ContentsLinkSettings link;

    // The entries of a contents (never of an index) also become the document's outline.
    bool outline = false;
    // The entries become hyperlinks; off, only the outline is written.
    bool links = true;
    // The smart reading reads contents only.
    ContentsReading reading = JobDefaults::reading;
    // The smart reading works out the offset from the book; `offset` is then unused.
    bool offsetAuto = false;
    // Pages without a text layer (or with plainly poor text) are recognised (true) or never
    // (false); none: as the pass's options say.
    std::optional<bool> recognise;

    // The contents ranges after the first (firstPage to lastPage with offset and offsetAuto),
    // in page order: a book in parts prints a contents for each part. Each range is read
    // with its own offset; links go on every range's pages and the outline holds them all.
    QList<ContentsRange> moreRanges;
    // Every range, the first included.
    QList<ContentsRange> ranges() const
    {
        return QList<ContentsRange>{{firstPage, lastPage, offset, offsetAuto}} + moreRanges;
    }
    // The outline hangs each part's entries under a bookmark of the part: each range is a
    // part when there are several, and part lines of a contents open parts.
    bool parts = true;

    // Set when the job came from a list row that does not convert: the run stops at this
    // job's turn with this sentence.
    QString rowError;
};

// Rules for the look of an area that hold whatever front end made the job.
namespace AreaLook {
enum class Problem
{
    None,
    OvalWithShadow,    // an oval takes no shadow border (types 3 to 6)
    OvalWithHighlight, // an oval is never highlighted
};
Problem check(AreaShape shape, std::optional<BorderType> borderType, bool highlight);
// The first rule the job breaks, for its areas or for its contents link.
Problem check(const CreateJob& job, bool* inContentsLink);
// "an oval takes no shadow border" and so on: the one wording of each rule.
QString sentence(Problem problem);
} // namespace AreaLook
