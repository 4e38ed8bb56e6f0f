#pragma once

#include "base/EngineDetailTextTable.h"
#include "base/EngineTextTable.h"
#include "base/TextKey.h"

#include <QString>
#include <QStringList>

#include <functional>

// The keys of section Engine: the main table, then the finer sentences.
using EngineTable = JoinedTexts<kEngineTexts, kEngineDetailTexts>;
using EngineKey = TextKey<EngineTable>;

// The sentences the engine reports (failures, refusals, notes), one key each (section
// Engine of a language file). The engine asks for a sentence by key; the text comes from
// the language the window or the command line chose, the Russian built-in text standing in
// for a key the language file lacks. Until a language is chosen the English built-in texts
// apply, which is what a bare engine run (a script, a test) gets.
namespace EngineTexts {

// The sentence of a key in the language in use.
QString say(EngineKey key);

// Makes the engine speak a language: the text of each key as the language gives it.
void use(const std::function<QString(EngineKey key)>& textOf);
// Back to the English built-in texts.
void useEnglish();

// The names of the keys of section Engine in file order, and their built-in texts.
const QStringList& keys();
QString russianText(EngineKey key);
QString englishText(EngineKey key);

} // namespace EngineTexts
