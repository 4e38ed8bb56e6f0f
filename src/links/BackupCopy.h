#pragma once

#include <QString>

// "<document>.backup": a copy of the document as it was before this run touched it. The
// copy is written under a temporary name and renamed, so an older backup survives a
// failed copy (a full disk) whole.
namespace BackupCopy {
QString pathFor(const QString& document);
// For an indirect document every component file gets its own backup beside it too;
// djvused (the resolved program) lists them. When a backup name is itself a file of the
// set (a page named "p1.djvu.backup" beside "p1.djvu"), nothing is copied and it fails.
bool make(const QString& document, QString* error, const QString& djvused = QString());
} // namespace BackupCopy
