#include "ui/hyperlink.h"

Rgb HyperlinkColour(bool hovered, bool visited) {
    if (hovered) return {51, 153, 255};
    if (visited) return {128, 0, 0};
    return {0, 0, 255};
}

std::string BrowserCommandLine(const std::string& htmOpenCommand, const std::string& address) {
    size_t at = htmOpenCommand.find("%1");
    if (at != std::string::npos && at > 0 && htmOpenCommand[at - 1] == '"') --at;
    std::string command = htmOpenCommand.substr(0, at);
    while (!command.empty() && command.back() == ' ') command.pop_back();
    return command + " " + address;
}
