#include "settings/autorun.h"

#include "settings/settings_file.h"

bool RegisterAutorun(Program& program, const std::string& name, const FilePath& path) {
    if (!program.os.files.Exists(path)) return false;
    return program.os.registry.WriteRunValue(name, path).value_or(false);
}

bool UnregisterAutorun(Program& program, const std::string& name) {
    bool removed = program.os.registry.DeleteRunValue(name);
    if (auto folder = program.os.registry.StartupFolder()) {
        FilePath shortcut{folder->utf8 + "\\" + name + ".lnk"};
        if (program.os.files.Delete(shortcut)) removed = true;
        program.os.registry.NotifyShellOfChange(shortcut, *folder);
    }
    return removed;
}

void ApplyStartWithSystem(Program& program) {
    if (program.settings.autorun == 1) {
        RegisterAutorun(program, AutorunName, ExecutablePath(program.os.files));
    } else {
        UnregisterAutorun(program, AutorunName);
    }
}
