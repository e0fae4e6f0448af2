#pragma once
#include <string>
#include <vector>

#include "base/outcome.h"
#include "saver/command_line.h"

// The idle watcher's words on the Linux command line, read before a hack's
// and the system's modes: "--idle MINUTES" watches the session and starts
// the saver after MINUTES without input, "--idle-enable MINUTES" has that
// watcher started at every login, "--idle-disable" no longer. MINUTES is a
// decimal number (0.5 is half a minute), from one second to one day.

// True when the first argument is one of those words.
bool isIdleCommandLine(const std::vector<std::string>& args);

// Reads such a command line into `command`; a refused one leaves `command`
// as it was and says why, in one line.
Outcome parseIdleCommand(const std::vector<std::string>& args, SaverCommand& command);
