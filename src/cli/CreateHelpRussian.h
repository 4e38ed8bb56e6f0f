#pragma once

// The help of "tocsmith-cli create" in Russian, for a Russian locale.
const char* createHelpRussian();
