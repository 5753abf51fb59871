#include "tests/fakes/fake_files.h"

#include "settings/profile_text.h"

namespace {

void Record(std::vector<std::string>& log, std::vector<std::string>* journal, const std::string& entry) {
    log.push_back(entry);
    if (journal) journal->push_back(entry);
}

}  // namespace

// The running executable exists, whatever the test made of the folder.
bool FakeFileSystem::Exists(const FilePath& path) {
    return path == executable || files.count(path.utf8) || directories.count(path.utf8);
}

bool FakeFileSystem::Delete(const FilePath& path) {
    Record(log, journal, "delete " + path.utf8);
    return files.erase(path.utf8) > 0;
}

std::string FakeFileSystem::ReadProfileValue(const FilePath& file, const std::string& section, const std::string& key,
                                             const std::string& fallback) {
    auto found = files.find(file.utf8);
    return found == files.end() ? fallback : ReadProfileText(found->second, section, key, fallback);
}

void FakeFileSystem::WriteProfileValue(const FilePath& file, const std::string& section, const std::string& key,
                                       const std::string& value) {
    Record(log, journal, "write " + key + "=" + value);
    if (directories.count(file.utf8) || readOnly.count(file.utf8)) return;
    files[file.utf8] = WriteProfileText(files[file.utf8], section, key, value);
}

std::optional<bool> FakeStartupRegistry::WriteRunValue(const std::string& name, const FilePath& data) {
    Record(log, journal, "set");
    if (!keyOpens) return std::nullopt;
    if (!writable) return false;
    runValues[name] = data.utf8;
    return true;
}

bool FakeStartupRegistry::DeleteRunValue(const std::string& name) {
    Record(log, journal, "delete");
    return keyOpens && writable && runValues.erase(name) > 0;
}

void FakeStartupRegistry::NotifyShellOfChange(const FilePath& shortcut, const FilePath&) {
    Record(log, journal, "notify " + shortcut.utf8);
}
