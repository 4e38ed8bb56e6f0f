#include "cli/StopSignals.h"

#include "base/CancelToken.h"

#include <csignal>

namespace {

CancelToken stopToken;

extern "C" void askToStop(int)
{
    stopToken.cancel(); // a lock-free atomic store: safe in a signal handler
}

} // namespace

namespace StopSignals {

const CancelToken& install()
{
#ifdef SIGTERM
    struct sigaction action = {};
    action.sa_handler = askToStop;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
#endif
    return stopToken;
}

} // namespace StopSignals
