#include "ui/main_window_events.h"

#include "settings/settings_panel.h"
#include "time/calibration.h"
#include "time/startup.h"
#include "ui/clock_display.h"
#include "ui/main_window.h"
#include "ui/tray_icon.h"

using namespace MainWindow;

void HandleMainWindowEvent(Program& program, int source, Event event) {
    switch (event) {
    case Event::Created: return OnMainWindowCreated(program);
    case Event::Destroyed: return OnMainWindowDestroyed(program);
    case Event::Tick:
        if (source == 时钟1) return OnClockTick(program);
        if (source == 时钟2) return OnAutoCalibrationTick(program);
        return;
    case Event::Click:
        if (source == 按钮3) return OnCalibrateButton(program);
        if (source == 选择框1) return OnAutoCheckClick(program);
        if (source == 按钮1) return OnSaveSettings(program);
        if (source == 按钮4) return HideMainWindow(program);
        if (source == 按钮2) return ConfirmExit(program);
        return;
    case Event::Command:
        if (source == MenuCalibrate) return OnCalibrateFromMenu(program);
        if (source == MenuShowWindow) return ShowMainWindow(program);
        if (source == MenuExit) return ConfirmExit(program);
        return;
    case Event::DoubleClick:
        if (source == 托盘图标1) return ShowMainWindow(program);
        return;
    case Event::RightClick:
        if (source == 托盘图标1) return PopUpTrayMenu(program);
        return;
    case Event::TaskbarCreated: return OnTaskbarCreated(program);
    default: return;
    }
}
