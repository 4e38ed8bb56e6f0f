#pragma once

#include "base/TextKey.h"
#include "cli/CreateHelpTextTable.h"
#include "cli/HelpTextTable.h"

#include <QString>

// The keys of tocsmith-cli's help: the general table, then create's.
using HelpTable = JoinedTexts<kHelpTexts, kCreateHelpTexts>;
using HelpKey = TextKey<HelpTable>;

// The words of tocsmith-cli's help in its two built-in languages: the program's usage
// ("main"), for each command an opening text (its name), a block for most options it declares
// ("create --pages") and further texts ("create:end"), and the batch options' text ("batch").
// A command's help is put together from the options it declares, each naming its words (see
// CommandLine::help), so that an option cannot go without them.
namespace HelpTexts {

// The text of a key in the locale's language (see CliLanguage).
QString text(HelpKey key);

} // namespace HelpTexts
