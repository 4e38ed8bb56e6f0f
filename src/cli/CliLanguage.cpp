#include "cli/CliLanguage.h"

#include "base/EngineTexts.h"
#include "base/LanguageFile.h"
#include "base/MessageTexts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace CliLanguage {

bool localeIsRussian()
{
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString value = qEnvironmentVariable(name);
        if (!value.isEmpty())
            return value.startsWith(QLatin1String("ru"));
    }
    return false;
}

bool choose(const QString& languageFile, MessageTexts* texts)
{
    if (!languageFile.isEmpty()) {
        if (!QFileInfo(languageFile).isFile())
            return false;
        LanguageFile::loadMessages(languageFile, *texts);
        texts->lendToEngine();
        return true;
    }
    if (localeIsRussian()) {
        texts->lendToEngine(); // the built-in texts are Russian
        return true;
    }
    // English: the shipped file where there is one, the engine's own English in any case.
    const QString english = QDir(LanguageFile::folderIn(QCoreApplication::applicationDirPath()))
                                .filePath(QStringLiteral("English.lng"));
    if (QFileInfo(english).isFile())
        LanguageFile::loadMessages(english, *texts);
    for (const EngineKey key : EngineKey::all())
        texts->setText(MessageTexts::keyOf(key), EngineTexts::englishText(key));
    EngineTexts::useEnglish();
    return true;
}

} // namespace CliLanguage
