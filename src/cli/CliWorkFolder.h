#pragma once

#include "djvu/LockedFolder.h"

// The private work folder of one command-line run, in the temporary folder. It holds a lock
// while the run lives; making one removes the folders that killed runs left behind.
class CliWorkFolder : public LockedFolder
{
public:
    CliWorkFolder();
};
