// Hyperlink boxes: their colours, and the browser command line used when the
// shell cannot open an address itself.
#pragma once

#include <string>

#include "ui/window_description.h"

Rgb HyperlinkColour(bool hovered, bool visited);

// The command registered for opening ".htm" files, cut at its "%1"
// placeholder (a quoted one included), then a space and the address.
std::string BrowserCommandLine(const std::string& htmOpenCommand, const std::string& address);
