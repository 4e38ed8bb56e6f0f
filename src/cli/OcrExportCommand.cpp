#include "cli/Commands.h"

#include <cstdio>

int runOcrExportCommand(const QStringList&)
{
    std::fputs("tocsmith-cli: this command is not available yet\n", stderr);
    return 2;
}
