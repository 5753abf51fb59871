// The four settings and setup.ini beside the executable.
#pragma once

#include <string_view>

#include "settings/file_system.h"
#include "time/program.h"

// The executable's directory without a trailing backslash ("C:" at the root
// of a drive), its file name, and the two joined again.
FilePath RunDirectory(FileSystem& files);
std::string ExecutableName(FileSystem& files);
FilePath ExecutablePath(FileSystem& files);
FilePath SettingsPath(FileSystem& files);

// Full-width forms narrowed, blanks skipped, one sign, digits until the
// first non-digit, wrapping around in 32 bits; no digits give 0.
int32_t TextToInt(std::string_view text);

void WriteDefaultSettings(Program& program);
void LoadSettings(Program& program);
void SaveSettings(Program& program);
