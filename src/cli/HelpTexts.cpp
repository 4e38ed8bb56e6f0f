#include "cli/HelpTexts.h"

#include "cli/CliLanguage.h"

namespace HelpTexts {

QString text(HelpKey key)
{
    const TwoLanguageText& entry = HelpTable::at(key.index());
    return QString::fromUtf8(CliLanguage::localeIsRussian() ? entry.russian : entry.english);
}

} // namespace HelpTexts
