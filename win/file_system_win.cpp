#include "win/file_system_win.h"

#include <windows.h>

#include <optional>
#include <vector>

#include "settings/profile_text.h"
#include "win/text_win.h"

namespace {

constexpr DWORD kProfileBuffer = 10240;

std::string WideToUtf8(const std::wstring& wide) {
    if (wide.empty()) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), n, nullptr, nullptr);
    return utf8;
}

// The system's profile functions cannot take paths beyond MAX_PATH; such a
// file is read and written whole here, in the same format.
bool BeyondProfileFunctions(const FilePath& path) {
    return PlainWidePath(path).size() >= MAX_PATH;
}

std::optional<std::string> ReadWholeFile(const FilePath& path) {
    HANDLE f = CreateFileW(WidePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string bytes;
    char chunk[4096];
    DWORD read = 0;
    while (ReadFile(f, chunk, sizeof(chunk), &read, nullptr) && read > 0) bytes.append(chunk, read);
    CloseHandle(f);
    return bytes;
}

void WriteWholeFile(const FilePath& path, const std::string& bytes) {
    HANDLE f = CreateFileW(WidePath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(f);
}

}  // namespace

std::wstring PlainWidePath(const FilePath& path) {
    const std::string& utf8 = path.utf8;
    if (utf8.empty()) return {};
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
    return wide;
}

// Paths of MAX_PATH or more get the extended-length prefix, so that a deep
// folder is not cut short.
std::wstring WidePath(const FilePath& path) {
    std::wstring wide = PlainWidePath(path);
    if (wide.size() >= MAX_PATH && wide.rfind(L"\\\\", 0) != 0) wide = L"\\\\?\\" + wide;
    return wide;
}

FilePath PathFromWide(const std::wstring& path) {
    return {WideToUtf8(path)};
}

bool WinFileSystem::Exists(const FilePath& path) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(WidePath(path).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    return true;
}

bool WinFileSystem::Delete(const FilePath& path) {
    return DeleteFileW(WidePath(path).c_str()) != FALSE;
}

FilePath WinFileSystem::ExecutableFile() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);  // never cut a long path
    }
    if (path.rfind(L"\\\\?\\", 0) == 0) path.erase(0, 4);
    return PathFromWide(path);
}

std::string WinFileSystem::ReadProfileValue(const FilePath& file, const std::string& section, const std::string& key,
                                            const std::string& fallback) {
    if (BeyondProfileFunctions(file)) {
        auto content = ReadWholeFile(file);
        return content ? ReadProfileText(*content, section, key, fallback) : fallback;
    }
    std::vector<wchar_t> buffer(kProfileBuffer);
    DWORD n = GetPrivateProfileStringW(GbkToWide(section).c_str(), GbkToWide(key).c_str(), GbkToWide(fallback).c_str(),
                                       buffer.data(), kProfileBuffer, WidePath(file).c_str());
    return WideToGbk(std::wstring(buffer.data(), n));
}

void WinFileSystem::WriteProfileValue(const FilePath& file, const std::string& section, const std::string& key,
                                      const std::string& value) {
    if (BeyondProfileFunctions(file)) {
        DWORD attributes = GetFileAttributesW(WidePath(file).c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return;
        WriteWholeFile(file, WriteProfileText(ReadWholeFile(file).value_or(""), section, key, value));
        return;
    }
    WritePrivateProfileStringW(GbkToWide(section).c_str(), GbkToWide(key).c_str(), GbkToWide(value).c_str(),
                               WidePath(file).c_str());
}
