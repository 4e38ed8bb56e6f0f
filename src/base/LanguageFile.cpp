#include "base/LanguageFile.h"

#include "base/IniFile.h"
#include "base/InstallLayout.h"
#include "base/MessageTexts.h"

#include <QDir>

namespace LanguageFile {

namespace {

const QString kMemo = QStringLiteral("Memo");
const QString kOcr = QStringLiteral("OCR");
const QString kEdit = QStringLiteral("edit");
const QString kEngine = QStringLiteral("Engine");

void loadSection(const IniFile& file, const QString& section, const QStringList& keys,
                 MessageTexts& texts)
{
    for (const QString& key : keys) {
        const QString builtIn = MessageTexts::defaultText(key);
        if (builtIn.isEmpty()) {
            // A caption of the OCR editor: only a given text replaces the current one.
            const QString given = file.readText(section, key);
            if (!given.isEmpty())
                texts.setText(key, given);
            continue;
        }
        texts.setText(key, file.readText(section, key, builtIn));
    }
}

} // namespace

QString folderIn(const QString& exeFolder)
{
    return InstallLayout::languageFolder(exeFolder);
}

void loadMessages(const QString& path, MessageTexts& texts)
{
    const IniFile file = IniFile::snapshotOf(path);
    loadSection(file, kOcr, MessageTexts::ocrKeys(), texts);
    loadSection(file, kMemo, MessageTexts::memoKeys(), texts);
    loadSection(file, kEngine, MessageTexts::engineKeys(), texts);
}

QStringList noteLines(const IniFile& file, const QStringList& current)
{
    QStringList lines = current;
    const QString title = file.readText(kEdit, QStringLiteral("m1"));
    if (!title.isEmpty())
        lines = QStringList{QString(20, QLatin1Char(' ')) + title};
    for (const char* key : {"m2", "m3", "m4"}) {
        const QString text = file.readText(kEdit, QLatin1String(key));
        if (!text.isEmpty())
            lines << QStringLiteral("  ") + text;
    }
    return lines;
}

QStringList listItems(const IniFile& file, const QString& section, const QStringList& keys,
                      const QStringList& current)
{
    QStringList items = current;
    for (qsizetype i = 0; i < keys.size(); ++i) {
        const QString text = file.readText(section, keys[i]);
        if (text.isEmpty())
            continue;
        if (i == 0)
            items.clear();
        items << text;
    }
    return items;
}

} // namespace LanguageFile
