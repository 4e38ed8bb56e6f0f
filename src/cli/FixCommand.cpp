#include "cli/Commands.h"

#include <cstdio>

int runFixCommand(const QStringList&)
{
    std::fputs("tocsmith-cli: this command is not available yet\n", stderr);
    return 2;
}
