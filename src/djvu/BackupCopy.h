#pragma once

#include <QString>
#include <QStringList>

// The backups of a document beside it, made by each change just before its rename:
// "<file>.backup" holds the file as it was before the first change this program made of it
// and is never overwritten; each later change keeps its own "<file>.backup.2", ".3", ...
// of which the `keep` latest stay. Each copy is written under a temporary name, synced and
// then renamed, so a backup is whole or absent.
namespace BackupCopy {

constexpr int kKeepDefault = 5;

// generation 1 is the original's backup.
QString pathFor(const QString& file, int generation = 1);

// The backups one change makes of the files it replaces (for an indirect document: the index
// and every component, each beside itself).
class Change
{
public:
    // keep: how many numbered backups of each file stay besides the original; a negative
    // keep makes none. When a backup name is itself a file of the set (a page named
    // "p1.djvu.backup" beside "p1.djvu"), nothing is copied and it fails.
    bool make(const QStringList& files, int keep, QString* error);
    // The change failed: the backups it made go.
    void undo();
    // The change stands: numbered backups beyond `keep` go.
    void prune() const;

private:
    QStringList files_;
    QStringList made_;
    int keep_ = -1;
};

// Removes the half-written backup copies that a killed run left beside these files; only
// to be called while holding the book's lock.
void removeUnfinished(const QStringList& files);

} // namespace BackupCopy
