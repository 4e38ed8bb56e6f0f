#pragma once

#include <QString>

class QFile;

// The few file-system steps that make a replacement survive a crash: data flushed to the
// disk before a rename, and a rename that replaces its target in one step.
namespace FileSync {
// Flushes an open file's data to the disk.
bool syncFile(QFile& file);
// The same for a file by name.
bool syncPath(const QString& path);
// Flushes a folder's entries (its renames); best effort, not every file system can.
void syncFolder(const QString& path);
// Renames from over to, replacing to atomically; why gets the system's words on failure.
bool renameReplacing(const QString& from, const QString& to, QString* why);
} // namespace FileSync
