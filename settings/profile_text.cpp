#include "settings/profile_text.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <vector>

namespace {

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

std::string ReadProfileText(const std::string& content, const std::string& section, const std::string& key,
                            const std::string& fallback) {
    bool inSection = false;
    for (const std::string& line : Lines(content)) {
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

std::string WriteProfileText(const std::string& content, const std::string& section, const std::string& key,
                             const std::string& value) {
    std::vector<std::string> lines = Lines(content);
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
            return Join(lines);
        }
    }
    if (!sectionFound) {
        lines.push_back("[" + section + "]");
        lines.push_back(key + "=" + value);
    } else {
        while (sectionEnd > 0 && Trim(lines[sectionEnd - 1]).empty()) --sectionEnd;
        lines.insert(lines.begin() + static_cast<long>(sectionEnd), key + "=" + value);
    }
    return Join(lines);
}
