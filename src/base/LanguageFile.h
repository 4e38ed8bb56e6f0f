#pragma once

#include <QLatin1String>
#include <QString>
#include <QStringList>

class IniFile;
class MessageTexts;

// Reading a language file (".lng": sections Main, Menu, edit, create, OCR and Memo). A
// caption key changes its control only when the file gives a non-empty text; a message
// text always takes the file's text, or its built-in text when the key is missing.
namespace LanguageFile {

// Section Main: the language's name as the menu shows it, and its locale ("ru", "en").
inline constexpr QLatin1String kMainSection("Main");
inline constexpr QLatin1String kNameKey("name");
inline constexpr QLatin1String kLocaleKey("locale");

// The folder that holds the language files: beside the executable, or installed.
QString folderIn(const QString& exeFolder);

// Sets every message text (sections Memo and OCR) from a language file: the file's text
// where the key is present (an empty value included), the built-in text where it is not.
// The caption keys of section OCR without a built-in text change only when non-empty.
void loadMessages(const QString& path, MessageTexts& texts);

// The note box after applying the file: a non-empty edit/m1 starts it afresh as a title
// line (indented by 20 spaces); each non-empty m2, m3, m4 then adds an indented line.
QStringList noteLines(const IniFile& file, const QStringList& current);

// The items of a drop-down list after applying one group of keys: a non-empty first key
// replaces all items by its text; every further non-empty key adds its text.
QStringList listItems(const IniFile& file, const QString& section, const QStringList& keys,
                      const QStringList& current);

} // namespace LanguageFile
