// MainWindow: the program's one main window, its controls, timers, tray
// icon, balloon box and tray menu.
#pragma once

#include "ui/window_description.h"

namespace MainWindow {

// Controls keep the names of the window description.
enum Control : int {
    选择夹1 = 1001,
    图片框1 = 1002,
    图片框2 = 1003,
    标签8 = 1004,
    按钮1 = 1005,
    按钮4 = 1006,
    按钮2 = 1007,
    分组框1 = 1010,
    标签4 = 1011,
    标签6 = 1012,
    标签5 = 1013,
    标签7 = 1014,
    按钮3 = 1015,
    分组框2 = 1016,
    选择框1 = 1017,
    标签1 = 1018,
    组合框1 = 1019,
    标签2 = 1020,
    选择框2 = 1021,
    选择框3 = 1022,
    分组框3 = 1030,
    图片框3 = 1031,
    标签3 = 1032,
    超级链接框1 = 1033,
    超级链接框2 = 1034,
    托盘图标1 = 1040,
    气球提示框1 = 1041,
};

enum Timer : int {
    时钟1 = 1,
    时钟2 = 2,
    时钟3 = 3,
    时钟4 = 4,
};

// Items of the hidden menu "托盘菜单".
enum MenuItem : int {
    MenuCalibrate = 2001,
    MenuShowWindow = 2002,
    MenuExit = 2003,
};

inline constexpr const char* ClockPlaceholder = "XX : XX : XX";

const WindowDesc& Description();

}  // namespace MainWindow
