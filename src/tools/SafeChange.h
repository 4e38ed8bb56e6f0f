#pragma once

#include <QString>

#include <memory>

class QTemporaryDir;

// Changes a document without ever leaving it half-written. The tools rewrite a document
// in place with no temporary file, so a killed tool or a full disk would truncate the
// user's book. Instead: copy the document into a new folder beside it (same file name),
// let the tool change the copy, check the copy, and rename it over the original.
//
//   SafeChange change(path);
//   if (!change.prepare(&error)) ...
//   run the tool on change.workingCopy(); it must exit 0 with nothing on stderr
//   if (!change.commit(&error)) ...      // the original is untouched on any failure
//
// Dropping the object without commit() removes the copy and leaves the original as it was.
class SafeChange
{
public:
    explicit SafeChange(QString documentPath);
    ~SafeChange();
    SafeChange(const SafeChange&) = delete;
    SafeChange& operator=(const SafeChange&) = delete;

    bool prepare(QString* error);
    QString workingCopy() const { return copyPath_; }
    QString workingFolder() const;
    // Verifies the copy, flushes it to disk and renames it over the original, keeping the
    // original's permissions.
    bool commit(QString* error);

    // The size that a DjVu file's own header gives (the 32-bit big-endian length at offset 8,
    // plus 12) equals the size on disk. Cheap, and catches every truncated file.
    static bool looksComplete(const QString& path, QString* error);

private:
    QString documentPath_;
    QString copyPath_;
    std::unique_ptr<QTemporaryDir> folder_;
};
