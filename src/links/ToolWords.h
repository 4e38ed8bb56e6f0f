#pragma once

#include "djvu/ToolRunner.h"

#include <QString>

// The tool every step of a Create pass runs, and the words of its failures.
inline const QString kDjvused = QStringLiteral("djvused");

// djvused reports an error as "*** [1-12311] Failed to open document '...'" followed by
// lines naming its own source file and function; the user needs the first sentence.
QString toolWords(const ToolRun& run);
// "Could not read <path>: <the tool's words>".
QString toolFailure(const QString& path, const ToolRun& run);
