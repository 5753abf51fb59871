#include "ui/tray_icon.h"

#include "time/program.h"
#include "ui/main_window.h"

namespace {

void TakeOut(Program& program) {
    if (program.tray.added && program.os.tray.Remove()) program.tray.added = false;
}

void PutInPlace(Program& program) {
    TrayIconState& tray = program.tray;
    if (tray.added) {
        program.os.tray.Update(tray.tip);
    } else if (tray.hasIcon && tray.shown) {
        tray.added = program.os.tray.Add(tray.tip);
    }
}

}  // namespace

std::string CutTip(const std::string& tip) {
    size_t end = 0;
    while (end < tip.size()) {
        size_t width = static_cast<unsigned char>(tip[end]) >= 0x80 && end + 1 < tip.size() ? 2 : 1;
        if (end + width > TrayTipLimit) break;
        end += width;
    }
    return tip.substr(0, end);
}

void SetTrayIcon(Program& program, const std::string& iconFile) {
    if (!iconFile.empty() && program.os.tray.LoadIcon(iconFile)) {
        program.tray.hasIcon = true;
        PutInPlace(program);
        return;
    }
    TakeOut(program);
    program.os.tray.DropIcon();
    program.tray.hasIcon = false;
}

void SetTrayTip(Program& program, const std::string& tip) {
    program.tray.tip = CutTip(tip);
    PutInPlace(program);
}

void SetTrayShown(Program& program, bool shown) {
    program.tray.shown = shown;
    if (shown) {
        PutInPlace(program);
    } else {
        TakeOut(program);
    }
}

void OnTaskbarCreated(Program& program) {
    program.tray.added = false;
    PutInPlace(program);
}

void ShowMainWindow(Program& program) {
    program.os.window.SetWindowVisible(true);
}

void HideMainWindow(Program& program) {
    program.os.window.SetWindowVisible(false);
}

void PopUpTrayMenu(Program& program) {
    Point pointer = program.os.window.CursorPosition();
    program.os.window.PopUpMenu(MainWindow::Description().menu, {pointer.x - 5, pointer.y - 5});
}
