// Files and the start-up registry in memory, with the semantics of the
// system's private-profile functions.
#pragma once

#include <map>
#include <set>
#include <vector>

#include "settings/autorun.h"
#include "settings/file_system.h"

class FakeFileSystem : public FileSystem {
public:
    std::map<std::string, std::string> files;
    std::set<std::string> directories;
    std::set<std::string> readOnly;
    FilePath executable{"C:\\Program Files\\Brisolt\\Brisolt.exe"};
    std::vector<std::string> log;                 // "write <key>=<value>", "delete <path>"
    std::vector<std::string>* journal = nullptr;  // shared with other fakes, for order

    bool Exists(const FilePath& path) override;
    bool Delete(const FilePath& path) override;
    FilePath ExecutableFile() override { return executable; }
    std::string ReadProfileValue(const FilePath& file, const std::string& section, const std::string& key,
                                 const std::string& fallback) override;
    void WriteProfileValue(const FilePath& file, const std::string& section, const std::string& key,
                           const std::string& value) override;
};

class FakeStartupRegistry : public StartupRegistry {
public:
    bool keyOpens = true;
    bool writable = true;
    std::map<std::string, std::string> runValues;
    std::optional<FilePath> startupFolder = FilePath{"C:\\Users\\u\\Start Menu\\Programs\\Startup"};
    std::vector<std::string> log;  // "set", "delete", "notify <shortcut>"
    std::vector<std::string>* journal = nullptr;

    std::optional<bool> WriteRunValue(const std::string& name, const FilePath& data) override;
    bool DeleteRunValue(const std::string& name) override;
    std::optional<FilePath> StartupFolder() override { return startupFolder; }
    void NotifyShellOfChange(const FilePath& shortcut, const FilePath& folder) override;
};
