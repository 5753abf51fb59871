// Files through Win32: directory search, deletion, the module path and the
// system's private-profile functions, all on full UTF-16 paths.
#pragma once

#include <string>

#include "settings/file_system.h"

// The path as it is, for showing or registering it.
std::wstring PlainWidePath(const FilePath& path);
// The path to pass to file functions: long ones get the extended prefix.
std::wstring WidePath(const FilePath& path);
FilePath PathFromWide(const std::wstring& path);

class WinFileSystem : public FileSystem {
public:
    bool Exists(const FilePath& path) override;
    bool Delete(const FilePath& path) override;
    FilePath ExecutableFile() override;
    std::string ReadProfileValue(const FilePath& file, const std::string& section, const std::string& key,
                                 const std::string& fallback) override;
    void WriteProfileValue(const FilePath& file, const std::string& section, const std::string& key,
                           const std::string& value) override;
};
