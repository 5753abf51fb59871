#include "settings/settings_file.h"

#include <cstdint>

#include "time/gbk_text.h"

namespace {

const char* const kSection = "system";

struct Field {
    const char* key;
    int32_t Settings::*value;
};

constexpr Field kFields[] = {
    {"autochecktime", &Settings::autochecktime},
    {"autochecktimeevery", &Settings::autochecktimeevery},
    {"autorun", &Settings::autorun},
    {"autohide", &Settings::autohide},
};

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// A backslash byte never stands inside a UTF-8 character.
size_t LastBackslash(const std::string& path) {
    return path.find_last_of('\\');
}

}  // namespace

FilePath RunDirectory(FileSystem& files) {
    std::string path = files.ExecutableFile().utf8;
    size_t slash = LastBackslash(path);
    return {slash == std::string::npos ? std::string() : path.substr(0, slash)};
}

std::string ExecutableName(FileSystem& files) {
    std::string path = files.ExecutableFile().utf8;
    size_t slash = LastBackslash(path);
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

FilePath ExecutablePath(FileSystem& files) {
    return {RunDirectory(files).utf8 + "\\" + ExecutableName(files)};
}

FilePath SettingsPath(FileSystem& files) {
    return {RunDirectory(files).utf8 + "\\setup.ini"};
}

int32_t TextToInt(std::string_view text) {
    std::string narrowed = NarrowFullWidth(text);
    size_t i = 0;
    while (i < narrowed.size() && IsBlank(narrowed[i])) ++i;
    bool negative = false;
    if (i < narrowed.size() && (narrowed[i] == '+' || narrowed[i] == '-')) negative = narrowed[i++] == '-';
    uint32_t value = 0;
    for (; i < narrowed.size() && narrowed[i] >= '0' && narrowed[i] <= '9'; ++i) {
        value = value * 10u + static_cast<uint32_t>(narrowed[i] - '0');
    }
    if (negative) value = 0u - value;
    return static_cast<int32_t>(value);
}

void WriteDefaultSettings(Program& program) {
    FileSystem& files = program.os.files;
    if (files.Exists(SettingsPath(files))) files.Delete(SettingsPath(files));
    for (const Field& f : kFields) files.WriteProfileValue(SettingsPath(files), kSection, f.key, "0");
}

void LoadSettings(Program& program) {
    FileSystem& files = program.os.files;
    if (!files.Exists(SettingsPath(files))) WriteDefaultSettings(program);
    for (const Field& f : kFields) {
        program.settings.*f.value = TextToInt(files.ReadProfileValue(SettingsPath(files), kSection, f.key, "0"));
    }
}

void SaveSettings(Program& program) {
    FileSystem& files = program.os.files;
    if (!files.Exists(SettingsPath(files))) WriteDefaultSettings(program);
    for (const Field& f : kFields) {
        files.WriteProfileValue(SettingsPath(files), kSection, f.key, IntToText(program.settings.*f.value));
    }
}
