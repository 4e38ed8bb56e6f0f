#include "ocr/PageRecognizer.h"

#include "base/EngineTexts.h"

#include <QDir>
#include <QFileInfo>
#include <QProcessEnvironment>

// The language data recognition reads, and the language sets it tries.

namespace {

// Where Debian's language packages and a TESSDATA_PREFIX put the data.
QStringList dataFolders()
{
    QStringList folders;
    const QString prefix =
        QProcessEnvironment::systemEnvironment().value(QStringLiteral("TESSDATA_PREFIX"));
    if (!prefix.isEmpty())
        folders << prefix << QDir(prefix).filePath(QStringLiteral("tessdata"));
    folders << QStringLiteral("/usr/share/tesseract-ocr/5/tessdata")
            << QStringLiteral("/usr/share/tesseract-ocr/4.00/tessdata")
            << QStringLiteral("/usr/share/tessdata") << QStringLiteral("/usr/local/share/tessdata");
    return folders;
}

} // namespace

QString PageRecognizer::dataFolder(const QString& languages, QString* error)
{
    const QStringList names = languages.split(QLatin1Char('+'), Qt::SkipEmptyParts);
    if (names.isEmpty()) {
        *error = EngineTexts::say("e_ocr_no_language").arg(languages);
        return {};
    }
    const QStringList folders = dataFolders();
    for (const QString& folder : folders) {
        bool all = true;
        for (const QString& name : names)
            all = all &&
                  QFileInfo(QDir(folder).filePath(name + QStringLiteral(".traineddata"))).isFile();
        if (all)
            return folder;
    }
    for (const QString& name : names) {
        bool found = false;
        for (const QString& folder : folders)
            found =
                found ||
                QFileInfo(QDir(folder).filePath(name + QStringLiteral(".traineddata"))).isFile();
        if (!found) {
            *error = EngineTexts::say("e_ocr_no_language").arg(name);
            return {};
        }
    }
    *error = EngineTexts::say("e_ocr_no_language").arg(languages);
    return {};
}

QString PageRecognizer::languagesFor(const QString& uiLanguage)
{
    const QString l = uiLanguage.toLower();
    if (l.startsWith(QLatin1String("ru")))
        return QStringLiteral("rus+eng");
    return QStringLiteral("eng");
}

QStringList PageRecognizer::languageChoices(const QString& preferred)
{
    QStringList choices{preferred};
    for (const QString& other : {QStringLiteral("eng"), QStringLiteral("rus+eng")}) {
        QString missing;
        if (!choices.contains(other) && !dataFolder(other, &missing).isEmpty())
            choices << other;
    }
    return choices;
}
