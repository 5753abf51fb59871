#include "win/shell_win.h"

#include <windows.h>
#include <shellapi.h>

#include <vector>

#include "ui/hyperlink.h"
#include "win/text_win.h"

namespace {

// The default value of HKCR\<class>\shell\open\command for ".htm" files.
std::wstring HtmOpenCommand() {
    wchar_t cls[256] = {};
    LONG size = sizeof(cls);
    if (RegQueryValueW(HKEY_CLASSES_ROOT, L".htm", cls, &size) != ERROR_SUCCESS || !cls[0]) return {};
    std::wstring key = std::wstring(cls) + L"\\shell\\open\\command";
    LONG bytes = 0;
    if (RegQueryValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, &bytes) != ERROR_SUCCESS || bytes <= 0) return {};
    std::vector<wchar_t> command(static_cast<size_t>(bytes) / sizeof(wchar_t) + 1);
    if (RegQueryValueW(HKEY_CLASSES_ROOT, key.c_str(), command.data(), &bytes) != ERROR_SUCCESS) return {};
    return command.data();
}

}  // namespace

bool OpenWebAddressWin(const std::string& address) {
    HWND owner = FindWindowW(nullptr, L"Microsoft Internet Explorer");
    auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(owner, L"open", GbkToWide(address).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;
}

bool OpenWithBrowserFallback(const std::string& address) {
    if (OpenWebAddressWin(address)) return true;
    std::wstring command = HtmOpenCommand();
    if (command.empty()) return false;
    std::wstring line = GbkToWide(BrowserCommandLine(WideToGbk(command), address));
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return true;
}
