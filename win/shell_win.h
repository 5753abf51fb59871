// Opening web addresses through the shell.
#pragma once

#include <string>

// The shell's "open" verb, shown normally; owned by a window titled
// "Microsoft Internet Explorer" when there is one. True when it opened.
bool OpenWebAddressWin(const std::string& address);
// As above, then the command registered for ".htm" files when the shell fails.
bool OpenWithBrowserFallback(const std::string& address);
