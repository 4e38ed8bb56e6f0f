#pragma once

#include <QString>

// Prints "tocsmith-cli COMMAND: PROBLEM", a blank line and the command's help in the
// locale's language on standard error; the exit status of a usage error, 2.
int usageError(const char* command, const QString& problem, const char* englishHelp,
               const char* russianHelp);
