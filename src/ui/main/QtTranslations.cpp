#include "ui/main/QtTranslations.h"

#include "base/IniFile.h"
#include "base/LanguageFile.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

QtTranslations::QtTranslations() = default;

QtTranslations::~QtTranslations()
{
    if (translator_)
        QCoreApplication::removeTranslator(translator_.get());
}

QString QtTranslations::codeOf(const IniFile& file)
{
    const QString given = file.readText(LanguageFile::kMainSection, LanguageFile::kLocaleKey);
    if (!given.isEmpty())
        return given.trimmed().toLower();
    const QString base = QFileInfo(file.path()).baseName().toLower();
    return base.startsWith(QLatin1String("russ")) ? QStringLiteral("ru") : QStringLiteral("en");
}

bool QtTranslations::use(const QString& code)
{
    if (translator_) {
        QCoreApplication::removeTranslator(translator_.get());
        translator_.reset();
    }
    code_ = code;
    QLocale::setDefault(QLocale(code));
    if (code == QLatin1String("en"))
        return true;
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QStringLiteral("qtbase_") + code,
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    QCoreApplication::installTranslator(translator.get());
    translator_ = std::move(translator);
    return true;
}
