#include "cli/UsageError.h"

#include "cli/CliLanguage.h"

#include <cstdio>

int usageError(const char* command, const QString& problem, const char* englishHelp,
               const char* russianHelp)
{
    std::fprintf(stderr, "tocsmith-cli %s: %s\n\n%s", command, problem.toLocal8Bit().constData(),
                 CliLanguage::inLocale(englishHelp, russianHelp));
    return 2;
}
