#pragma once

#include <QString>

class TwoLanguageTable;

// The words of tocsmith-cli's help in its two built-in languages: the program's usage
// ("main"), for each command an opening text (its name), a block for each option it declares
// ("create --pages") and further texts ("create:end"), and the batch options' text ("batch").
// A command's help is put together from the options it declares (see CommandLine::help), so
// that an option cannot go without its words.
namespace HelpTexts {

// The text of a key in the locale's language (see CliLanguage); null when there is none.
QString text(const QString& key);
QString text(const QString& key, bool russian);

const TwoLanguageTable& createTable();

} // namespace HelpTexts
