#include "settings/settings_panel.h"

#include "settings/autorun.h"
#include "settings/settings_file.h"
#include "ui/main_window.h"

using namespace MainWindow;

namespace {

int IntervalCount() {
    return static_cast<int>(FindControl(Description(), 组合框1)->items.size());
}

}  // namespace

int ListSelectionFor(int32_t index, int itemCount) {
    if (index > itemCount - 1) return itemCount - 1;
    if (index < -1) return -1;
    return index;
}

void FillSettingsPanel(Program& program) {
    WindowSystem& window = program.os.window;
    const Settings& s = program.settings;
    window.SetChecked(选择框1, s.autochecktime == 1);
    window.SetEnabled(组合框1, s.autochecktime == 1);
    window.SetSelection(组合框1, ListSelectionFor(s.autochecktimeevery, IntervalCount()));
    window.SetChecked(选择框2, s.autorun == 1);
    window.SetChecked(选择框3, s.autohide == 1);
}

void OnAutoCheckClick(Program& program) {
    program.os.window.SetEnabled(组合框1, program.os.window.Checked(选择框1));
}

void OnSaveSettings(Program& program) {
    WindowSystem& window = program.os.window;
    Settings& s = program.settings;
    s.autochecktime = window.Checked(选择框1) ? 1 : 0;
    s.autochecktimeevery = window.Selection(组合框1);
    s.autorun = window.Checked(选择框2) ? 1 : 0;
    ApplyStartWithSystem(program);  // before the file is written, even if writing fails
    s.autohide = window.Checked(选择框3) ? 1 : 0;
    SaveSettings(program);
    window.ShowMessageBox("设置已保存！", "完成", MbStyleInfo);
}
