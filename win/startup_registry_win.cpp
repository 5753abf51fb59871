#include "win/startup_registry_win.h"

#include <windows.h>
#include <shlobj.h>

#include "win/file_system_win.h"
#include "win/text_win.h"

namespace {

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// Opened only, never created.
HKEY OpenRunKey() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return nullptr;
    return key;
}

}  // namespace

std::optional<bool> WinStartupRegistry::WriteRunValue(const std::string& name, const FilePath& data) {
    HKEY key = OpenRunKey();
    if (!key) return std::nullopt;
    std::wstring text = PlainWidePath(data);  // no quotes, even with spaces
    LONG result = RegSetValueExW(key, GbkToWide(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                 static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

bool WinStartupRegistry::DeleteRunValue(const std::string& name) {
    HKEY key = OpenRunKey();
    if (!key) return false;
    LONG result = RegDeleteValueW(key, GbkToWide(name).c_str());
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

std::optional<FilePath> WinStartupRegistry::StartupFolder() {
    wchar_t folder[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathW(nullptr, folder, CSIDL_STARTUP, FALSE)) return std::nullopt;
    return PathFromWide(folder);
}

void WinStartupRegistry::NotifyShellOfChange(const FilePath& shortcut, const FilePath& folder) {
    std::wstring shortcutPath = WidePath(shortcut);
    std::wstring folderPath = WidePath(folder);
    SHChangeNotify(SHCNE_DELETE, SHCNF_PATHW, shortcutPath.c_str(), nullptr);
    SHChangeNotify(SHCNE_UPDATEDIR, SHCNF_PATHW, folderPath.c_str(), nullptr);
}
