// The machine-wide Run key and the current user's Startup folder.
#pragma once

#include "settings/autorun.h"

class WinStartupRegistry : public StartupRegistry {
public:
    std::optional<bool> WriteRunValue(const std::string& name, const FilePath& data) override;
    bool DeleteRunValue(const std::string& name) override;
    std::optional<FilePath> StartupFolder() override;
    void NotifyShellOfChange(const FilePath& shortcut, const FilePath& folder) override;
};
