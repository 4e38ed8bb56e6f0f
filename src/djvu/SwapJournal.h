#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The record a swap of an indirect set keeps in its folder beside the index, so that a swap
// cut short by a crash can be settled later. The journal names the index, then each file the
// swap moves in, with the size and SHA-256 of the new file and, for a file it replaces, of
// the original it sets aside into "originals". A last line "committed" is written (and
// flushed) once every new file is in place, before the clean-up begins.
//
// A dead process's swap is settled only as far as the journal proves it: a file is put back
// or removed only when its bytes are the ones the journal recorded. Anything else (a journal
// that came from elsewhere, an older one without sizes and hashes, a file changed since) is
// refused and every file is left alone.
class SwapJournal
{
public:
    static const QString kFolderPattern; // the swap and working folders beside a document
    static const QString kJournal;
    static const QString kOriginals;
    static const QString kLock;
    static const QByteArray kCommitted;

    struct Entry
    {
        QString name;
        bool replaces = false;
        qint64 oldSize = -1;
        QByteArray oldSha256;
        qint64 newSize = -1;
        QByteArray newSha256;
    };

    static QByteArray indexLine(const QString& indexName);
    static QByteArray text(const QString& indexName, const QList<Entry>& entries);
    // False when the text is not a whole journal of this form.
    static bool parse(const QByteArray& text, QList<Entry>* entries, bool* committed);

    enum class Recovery
    {
        None,     // no swap of this document was left by a dead process
        Undone,   // one was undone whole: the book is as before it; *message says so
        Finished, // one had completed, and its clean-up was finished; *message says so
        Refused,  // one was found and could not be settled; *message says why
    };
    // Settles a swap of this document that a dead process left behind.
    static Recovery recover(const QString& documentPath, QString* message);
};
