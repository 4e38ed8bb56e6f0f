#include "app/LanguageFile.h"

#include "app/MessageTexts.h"

namespace LanguageFile {

void loadMessages(const QString&, MessageTexts&) {}

} // namespace LanguageFile
