#include "time/startup.h"

#include "settings/autorun.h"
#include "settings/settings_file.h"
#include "settings/settings_panel.h"
#include "time/calibration.h"
#include "ui/main_window.h"

namespace {

const char* const kNoNetworkText =
    "本软件通过连接到网络获取标准时间来校准您系统的时间，您的电脑看上去无网络连接，请连接到网络后再使用本软件！";
const char* const kExitQuestion = "确实要退出Brisolt？\r\n\r\n如果您退出软件，则无法定时校准系统时间！";

}  // namespace

void StartInitialTimers(Program& program) {
    for (const TimerDesc& t : MainWindow::Description().timers) SetTimerPeriod(program, t.id, t.periodMs);
}

void OnMainWindowCreated(Program& program) {
    WindowSystem& window = program.os.window;
    program.random.Seed(window.TickCount());
    program.promoShown = 0;

    if (program.os.probe.PingHost(probeHost, ProbeLimitMs) == -1) {
        window.ShowMessageBox(kNoNetworkText, "退出", MbStyleError);
        window.EndProgram(0);
        return;
    }

    // The clock is not set at start-up. When the first fetch fails the
    // program goes on: a later calibration may succeed.
    if (auto fetched = FetchStandardTime(program.os.http)) {
        program.standardTime = *fetched;
        program.standardTimeKnown = true;
    }

    // The banner: its rotation and first picture.
    SetTimerPeriod(program, MainWindow::时钟3, 10000);
    program.bannerSlot = 1;
    window.SetPicture(MainWindow::图片框1, Picture::Banner1);

    SetTrayIcon(program, window.PictureBytes(Picture::TrayIcon));
    SetTrayTip(program, TrayTip);
    SetTrayShown(program, true);

    LoadSettings(program);
    FillSettingsPanel(program);
    if (program.settings.autohide == 0) window.SetWindowVisible(true);
    ApplyAutoCalibrationPeriods(program);
    ApplyStartWithSystem(program);
}

void OnMainWindowDestroyed(Program& program) {
    SetTrayShown(program, false);
}

void ConfirmExit(Program& program) {
    WindowSystem& window = program.os.window;
    if (window.ShowMessageBox(kExitQuestion, "确认退出", MbStyleQuestion) != MbOk) return;
    SetTrayShown(program, false);
    window.EndProgram(0);
}
