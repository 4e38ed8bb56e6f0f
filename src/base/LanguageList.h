#pragma once

#include <QList>
#include <QString>

// The languages found beside the executable: each ".lng" file that names its language
// (Main/name), in the order the file system lists them.
class LanguageList
{
public:
    struct Entry
    {
        QString fileName;    // without folder
        QString displayName; // "&" + Main/name: the first letter is the menu accelerator
    };

    LanguageList() = default;
    // Lists the language files of the folder in directory order, without sorting. A
    // missing folder gives an empty list; a file without Main/name is left out.
    static LanguageList find(const QString& folder);

    const QList<Entry>& entries() const { return entries_; }
    qsizetype size() const { return entries_.size(); }

    // The file of the last language shown under this display name; empty when none is.
    QString fileNameFor(const QString& displayName) const;

private:
    QList<Entry> entries_;
};
