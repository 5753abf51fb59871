#include "time/calibration.h"

#include "promo/calibration_notice.h"
#include "ui/main_window.h"

namespace {

const char* const kFetchFailedText = "无法获取标准时间，请检查您的网络连接后再试！";

void ResetClockLabels(Program& program) {
    program.os.window.SetText(MainWindow::标签6, MainWindow::ClockPlaceholder);
    program.os.window.SetText(MainWindow::标签7, MainWindow::ClockPlaceholder);
}

// The user asked and is waiting: a failed fetch is worth a word. Nothing
// else changes.
void ReportFetchFailure(Program& program) {
    program.os.window.ShowMessageBox(kFetchFailedText, "校准失败", MbStyleError);
}

void CalibrateInBackground(Program& program, bool userAsked) {
    CalibrationOutcome outcome = CalibrateClock(program);
    if (outcome == CalibrationOutcome::FetchFailed) {
        if (userAsked) ReportFetchFailure(program);
        return;
    }
    ResetClockLabels(program);
    if (outcome == CalibrationOutcome::ClockSet) ShowCalibrationNotice(program);
}

}  // namespace

CalibrationOutcome CalibrateClock(Program& program) {
    auto fetched = FetchStandardTime(program.os.http);
    if (!fetched) return CalibrationOutcome::FetchFailed;
    program.standardTime = *fetched;
    program.standardTimeKnown = true;
    bool set = SetSystemClock(program.os.clock, AddSeconds(program.standardTime, 1));
    return set ? CalibrationOutcome::ClockSet : CalibrationOutcome::ClockNotSet;
}

void OnCalibrateButton(Program& program) {
    CalibrationOutcome outcome = CalibrateClock(program);
    if (outcome == CalibrationOutcome::FetchFailed) return ReportFetchFailure(program);
    if (outcome == CalibrationOutcome::ClockSet) {
        program.os.window.ShowMessageBox("系统时间已校准！", "校准完成", MbStyleInfo);
    }
    ResetClockLabels(program);
}

void OnCalibrateFromMenu(Program& program) {
    CalibrateInBackground(program, true);
}

// A box every period on a machine without network would be a nuisance;
// the next period tries again.
void OnAutoCalibrationTick(Program& program) {
    CalibrateInBackground(program, false);
}

void ApplyAutoCalibrationPeriods(Program& program) {
    const Settings& s = program.settings;
    if (s.autochecktime == 0) {
        SetTimerPeriod(program, MainWindow::时钟2, 0);
    } else if (s.autochecktimeevery >= 0 && s.autochecktimeevery <= 5) {
        SetTimerPeriod(program, MainWindow::时钟2, AutoCalibrationPeriods[s.autochecktimeevery]);
    }
}
