#include "base/LanguageList.h"

#include "base/IniFile.h"
#include "base/LanguageFile.h"

#include <QDir>
#include <QFileInfo>

LanguageList LanguageList::find(const QString& folder)
{
    LanguageList list;
    const QDir dir(folder);
    const QFileInfoList files = dir.entryInfoList(
        {QStringLiteral("*.lng")}, QDir::Files | QDir::Hidden | QDir::System, QDir::Unsorted);
    for (const QFileInfo& info : files) {
        const QString name =
            IniFile(info.filePath()).readText(LanguageFile::kMainSection, LanguageFile::kNameKey);
        if (name.isEmpty())
            continue;
        list.entries_.append({info.fileName(), QLatin1Char('&') + name});
    }
    return list;
}

QString LanguageList::fileNameFor(const QString& displayName) const
{
    QString fileName;
    for (const Entry& entry : entries_) {
        if (entry.displayName == displayName)
            fileName = entry.fileName;
    }
    return fileName;
}
