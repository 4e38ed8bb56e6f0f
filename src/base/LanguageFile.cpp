#include "base/LanguageFile.h"

#include "base/CaptionKeys.h"
#include "base/IniFile.h"
#include "base/InstallLayout.h"
#include "base/MessageTexts.h"

#include <QDir>

namespace LanguageFile {

namespace {

const QString kMemo = QStringLiteral("Memo");
const QString kOcr = QStringLiteral("OCR");
const QString kEngine = QStringLiteral("Engine");

void loadSection(const IniFile& file, const QString& section, const QList<MessageKey>& keys,
                 MessageTexts& texts)
{
    for (const MessageKey key : keys) {
        const QString name = QLatin1String(key.name());
        const QString builtIn = MessageTexts::defaultText(key);
        if (builtIn.isEmpty()) {
            // A caption of the OCR editor: only a given text replaces the current one.
            const QString given = file.readText(section, name);
            if (!given.isEmpty())
                texts.setText(key, given);
            continue;
        }
        texts.setText(key, file.readText(section, name, builtIn));
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
    const QString title = captionText(file, kEditSection, "m1");
    if (!title.isEmpty())
        lines = QStringList{QString(20, QLatin1Char(' ')) + title};
    for (const EditKey key : {EditKey("m2"), EditKey("m3"), EditKey("m4")}) {
        const QString text = captionText(file, kEditSection, key);
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
