#pragma once

#include "reading/PageText.h"

#include <QList>
#include <QMap>
#include <QString>

#include <functional>

class BookGuard;
class CancelToken;
class ToolRunner;

// Recognising chosen pages of a book, several at a time, and keeping what was recognised in
// the book's text layer.
namespace PageRecognition {

// When a page the reading needs is recognised.
enum class Mode
{
    Never,
    Auto,   // a page without a text layer, or whose text is plainly poor
    Always, // every page the reading needs
};
// "auto", "always", "never"; false for anything else.
bool parseMode(const QString& name, Mode* mode);

// A text layer this poor on a page that shows print is no reading of it: hardly any words.
bool poorText(const PageText& text);
// The page is to be recognised in this mode, given its text layer.
bool wanted(Mode mode, const PageText& text);

struct Settings
{
    QString languages = QStringLiteral("eng");
    // When it holds more than one language set, the first page is read with each, and the
    // set the library is surest of reads every page (see PageRecognizer::languageChoices);
    // languages is then unused.
    QStringList languageChoices;
    int jobs = 1;
    const CancelToken* cancel = nullptr;
    // A page that fails is reported in Outcome::failed and the others go on; otherwise the
    // first failure ends the whole run. A stop always ends it.
    bool keepGoing = false;
    // Each page is read as one block of lines too (see PageRecognizer::setOneBlockToo).
    bool oneBlockToo = false;
    // Only the margins of each page are read (see PageRecognizer::setMarginsOnly).
    bool marginsOnly = false;
    // Told of each page as it is done: its number, its words and the seconds it took.
    std::function<void(int page, int words, double seconds)> onPage;
};

struct Outcome
{
    QMap<int, PageText> pages; // every page asked, when no error
    QString error;             // the first failure; a stop says so
    QString languages;         // the language set the pages were read with
    QMap<int, QString> failed; // with keepGoing: the pages not read, and why
    bool cancelled = false;
    bool ok() const { return error.isEmpty(); }
};

// Recognises the pages, up to settings.jobs at once, each with its own engine and its own
// tool runs. A failure or a stop ends every job within its page; nothing is kept then.
Outcome recognise(const ToolRunner& tools, const QString& path, const QList<int>& pages,
                  const Settings& settings);

// Sets the pages' text layer to the texts given, through a safe change under the guard
// (the book must be as the guard recorded it), checked by reading every page back.
// backups as SafeChange::setBackups.
bool keep(ToolRunner& tools, BookGuard& guard, const QString& path,
          const QMap<int, PageText>& pages, int backups, QString* error);

// Of the same page read with several language sets, the one read best: the surest by more
// than a little, else the first (the preferred one). confidences: one for each set.
qsizetype bestChoice(const QList<double>& confidences);

// "1, 3-5, 9": the page numbers in short.
QString pageList(const QList<int>& pages);

} // namespace PageRecognition
