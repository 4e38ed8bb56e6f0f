#pragma once

#include "outline/Outline.h"

#include <QString>

class BookGuard;
class ToolRunner;

// Reads and writes a document's outline with djvused. A new outline is written on a copy
// (SafeChange) and read back from it before the copy replaces the document, so the
// document either holds exactly the outline asked for or stays as it was.
class DocumentOutline
{
public:
    enum class WriteOutcome
    {
        Written,
        NothingChanged, // the document already holds this outline; it was not touched
        Failed,
    };

    explicit DocumentOutline(ToolRunner& tools) : tools_(tools) {}

    // The outline ("print-outline", empty when there is none) and the number of pages; with
    // pageIds, also the identifiers of the pages in page order.
    bool read(const QString& documentPath, Outline* outline, int* pageCount,
              QList<QByteArray>* pageIds = nullptr);

    // Replaces the outline (an empty one removes it). With backup, the change backs the
    // document up (BackupCopy) with the default number of numbered backups kept.
    WriteOutcome write(const QString& documentPath, const Outline& outline, bool backup);
    // The same with `backups` numbered backups kept (none at all when negative), under the
    // guard the caller took before it read the document.
    WriteOutcome write(const QString& documentPath, const Outline& outline, int backups,
                       BookGuard* guard);

    // False, with the refusal in error(), when the document already has an outline: a new
    // one is written over it only when the user asked for that.
    bool hasNoOutline(const QString& documentPath);
    static QString existingOutlineMessage(const QString& documentPath, int count);

    // The reason of the last failure, in the tool's own words where a tool failed.
    QString error() const { return error_; }
    // The runner already showed the failure (the tool could not be started at all).
    bool errorShown() const { return errorShown_; }

private:
    bool fail(const QString& error, bool shown = false);
    bool readOutline(const QString& path, Outline* outline);
    bool readPageIds(const QString& path, int pageCount, QList<QByteArray>* ids);
    bool replace(const QString& documentPath, const QByteArray& script, const Outline& outline,
                 int backups, BookGuard* guard);

    ToolRunner& tools_;
    QString error_;
    bool errorShown_ = false;
};
