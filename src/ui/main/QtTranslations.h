#pragma once

#include <QString>
#include <memory>

class IniFile;
class QTranslator;

// Qt's own texts (the buttons of message boxes, the file, colour and font dialogs) in the
// window's language, from the translations Qt ships (qtbase_<code>.qm).
class QtTranslations
{
public:
    QtTranslations();
    ~QtTranslations();

    // The language code of a language file: Main/locale, or one the file's name implies
    // ("Russian.lng" -> "ru"); "en" otherwise.
    static QString codeOf(const IniFile& file);

    // Installs Qt's translation for the code, replacing the one installed before; English
    // needs none. True when a translation was found (or none was needed).
    bool use(const QString& code);
    QString code() const { return code_; }

private:
    std::unique_ptr<QTranslator> translator_;
    QString code_ = QStringLiteral("en");
};
