#pragma once

#include <QString>

class MessageTexts;

// The language of a command-line run: the language file --language names, or else the
// user's messages locale (LC_ALL, LC_MESSAGES, LANG, the first one set): Russian when it
// is Russian, English otherwise.
namespace CliLanguage {

bool localeIsRussian();

// Fills the texts and makes the engine speak the same language. False, with the texts
// untouched, when the language file cannot be read.
bool choose(const QString& languageFile, MessageTexts* texts);

} // namespace CliLanguage
