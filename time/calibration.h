// Calibration: set the system clock to the fetched standard time plus one
// second, from the button, the tray menu or the automatic timer 时钟2.
#pragma once

#include "time/program.h"

enum class CalibrationOutcome { FetchFailed, ClockNotSet, ClockSet };

// Period of 时钟2 in ms for each interval of 组合框1.
inline constexpr int AutoCalibrationPeriods[6] = {1800000, 3600000, 7200000, 10800000, 21600000, 43200000};

CalibrationOutcome CalibrateClock(Program& program);
// Click on 按钮3: reports by message box.
void OnCalibrateButton(Program& program);
// Tray item "立即校准！": reports by the calibration notice.
void OnCalibrateFromMenu(Program& program);
// Tick of 时钟2: the notice when the clock was set, nothing on failure.
void OnAutoCalibrationTick(Program& program);
// Start-up: the period of 时钟2 from the settings.
void ApplyAutoCalibrationPeriods(Program& program);
