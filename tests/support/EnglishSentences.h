#pragma once

#include <QString>
#include <QStringList>

// The sentence-like parts of the shipped English language file: the fixed text between the
// placeholders of each value, where it has two words or more. A text in another language
// that holds one of them has an untranslated sentence left in it.
QStringList englishSentences();

// Those of them the text holds.
QStringList englishSentencesIn(const QString& text);
