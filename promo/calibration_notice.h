// The balloon notice shown after a calibration from the tray menu or the
// automatic timer, just above the taskbar at the lower right of the screen.
#pragma once

#include <string>

#include "time/program.h"

inline constexpr const char* CalibrationNoticeText =
    "<b><font size=14>系统时间已经校准！</b><br><br><hr color=red><br><b><font "
    "size=14>您的系统时间已经校准为标准时间，感谢您使用我们的产品！</b><br><br><b><font size=14><a "
    "event=openwebsize>请访问我们的网站了解更多好用软件！</a></b><br><br><i>此消息需要您进行操作</i>";

// The screen's height minus the bottom of the work area.
int32_t TaskbarHeight(const ScreenMetrics& screen);
void ShowCalibrationNotice(Program& program);
// Link event of 气球提示框1.
void OnNoticeLink(Program& program, const std::string& linkName);
