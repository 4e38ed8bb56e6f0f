#pragma once

class IniFile;
class QWidget;

// Puts the tooltips of the options (TipTexts) on the window's controls; the Russian built-in
// text stands in for a tip a language file lacks.
namespace OptionTips {

// Puts the built-in Russian tips on the window's controls.
void applyBuiltIn(QWidget* window);
// Puts the tips of a language file on the window's controls.
void apply(QWidget* window, const IniFile& file);

} // namespace OptionTips
