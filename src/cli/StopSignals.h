#pragma once

class CancelToken;

// SIGINT and SIGTERM ask a running command to stop the way the window's Stop button does:
// the running tool is killed, the document being worked on stays as it was, and the command
// exits with kExitStatus. The handler does nothing but set the token.
namespace StopSignals {

constexpr int kExitStatus = 130;

// Installs the handlers (once) and returns the token they set.
const CancelToken& install();

} // namespace StopSignals
