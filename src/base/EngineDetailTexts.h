#pragma once

class TwoLanguageTable;

// The finer sentences of section Engine: why a tool's output, a plan, an outline text or a
// text layer does not read, the notes of the smart reading and the command line's refusals.
// They follow the main table in the language files.
const TwoLanguageTable& engineDetailTexts();
