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
    int jobs = 1;
    const CancelToken* cancel = nullptr;
    // Told of each page as it is done: its number, its words and the seconds it took.
    std::function<void(int page, int words, double seconds)> onPage;
};

struct Outcome
{
    QMap<int, PageText> pages; // every page asked, when no error
    QString error;             // the first failure; a stop says so
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

// "1, 3-5, 9": the page numbers in short.
QString pageList(const QList<int>& pages);

} // namespace PageRecognition
