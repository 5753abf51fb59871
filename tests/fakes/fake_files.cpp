#include "tests/fakes/fake_files.h"

#include <algorithm>
#include <cctype>

namespace {

void Record(std::vector<std::string>& log, std::vector<std::string>* journal, const std::string& entry) {
    log.push_back(entry);
    if (journal) journal->push_back(entry);
}

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

std::string Trim(const std::string& s) {
    size_t b = s.find_first_not_of(" \t");
    if (b == std::string::npos) return {};
    size_t e = s.find_last_not_of(" \t");
    return s.substr(b, e - b + 1);
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

std::string Join(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

// The section a header line opens, or nothing.
std::optional<std::string> SectionOf(const std::string& line) {
    std::string t = Trim(line);
    if (t.size() < 2 || t.front() != '[') return std::nullopt;
    size_t close = t.find(']');
    if (close == std::string::npos) return std::nullopt;
    return Trim(t.substr(1, close - 1));
}

bool IsKeyLine(const std::string& line, const std::string& key) {
    size_t eq = line.find('=');
    return eq != std::string::npos && Lower(Trim(line.substr(0, eq))) == Lower(key);
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
    if (found == files.end()) return fallback;
    bool inSection = false;
    for (const std::string& line : Lines(found->second)) {
        if (auto name = SectionOf(line)) {
            inSection = Lower(*name) == Lower(section);
        } else if (inSection && IsKeyLine(line, key)) {
            std::string value = Trim(line.substr(line.find('=') + 1));
            if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
                value = value.substr(1, value.size() - 2);
            }
            return value.substr(0, 10239);
        }
    }
    return fallback;
}

void FakeFileSystem::WriteProfileValue(const FilePath& file, const std::string& section, const std::string& key,
                                       const std::string& value) {
    Record(log, journal, "write " + key + "=" + value);
    if (directories.count(file.utf8) || readOnly.count(file.utf8)) return;
    std::vector<std::string> lines = Lines(files[file.utf8]);
    bool inSection = false;
    size_t sectionEnd = lines.size();
    bool sectionFound = false;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (auto name = SectionOf(lines[i])) {
            if (inSection) {
                sectionEnd = i;
                break;
            }
            inSection = Lower(*name) == Lower(section);
            sectionFound = sectionFound || inSection;
        } else if (inSection && IsKeyLine(lines[i], key)) {
            lines[i] = Trim(lines[i].substr(0, lines[i].find('='))) + "=" + value;
            files[file.utf8] = Join(lines);
            return;
        }
    }
    if (!sectionFound) {
        lines.push_back("[" + section + "]");
        lines.push_back(key + "=" + value);
    } else {
        while (sectionEnd > 0 && Trim(lines[sectionEnd - 1]).empty()) --sectionEnd;
        lines.insert(lines.begin() + static_cast<long>(sectionEnd), key + "=" + value);
    }
    files[file.utf8] = Join(lines);
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
