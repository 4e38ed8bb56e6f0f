#pragma once

#include <QString>

class MessageTexts;

namespace LanguageFile {
// Sets every message text (sections Memo and OCR) from a language file: the file's text
// where the key is present (an empty value included), the built-in text where it is not.
// The caption keys of section OCR without a built-in text change only when non-empty.
void loadMessages(const QString& path, MessageTexts& texts);
} // namespace LanguageFile
