// Start with the system: a string value under the machine-wide Run key, and
// the removal of a start-up shortcut of the same name.
#pragma once

#include <optional>
#include <string>

#include "settings/file_system.h"
#include "time/program.h"

inline constexpr const char* AutorunName = "Brisolt";

class StartupRegistry {
public:
    virtual ~StartupRegistry() = default;
    // Nothing when the Run key under HKEY_LOCAL_MACHINE cannot be opened
    // (it is never created); otherwise whether the value was written.
    virtual std::optional<bool> WriteRunValue(const std::string& name, const FilePath& data) = 0;
    // True when the value existed and was deleted.
    virtual bool DeleteRunValue(const std::string& name) = 0;
    // The current user's Startup folder, not created when missing.
    virtual std::optional<FilePath> StartupFolder() = 0;
    // Tells the shell that the shortcut and the folder changed.
    virtual void NotifyShellOfChange(const FilePath& shortcut, const FilePath& folder) = 0;
};

bool RegisterAutorun(Program& program, const std::string& name, const FilePath& path);
bool UnregisterAutorun(Program& program, const std::string& name);
// Start-up and the save button: register exactly when autorun is 1.
void ApplyStartWithSystem(Program& program);
