// The tray icon 托盘图标1: its picture, tip and shown flag, kept in the
// notification area by the add-or-update rules, and its menu "托盘菜单".
#pragma once

#include <string>

struct Program;

// The system's notification area, for the one icon of the program.
class NotificationArea {
public:
    virtual ~NotificationArea() = default;
    // Builds the picture from an icon file; false when the bytes are no icon.
    virtual bool LoadIcon(const std::string& iconFile) = 0;
    virtual void DropIcon() = 0;
    // Each returns whether the system accepted the request.
    virtual bool Add(const std::string& tip) = 0;
    virtual bool Update(const std::string& tip) = 0;
    virtual bool Remove() = 0;
};

struct TrayIconState {
    bool hasIcon = false;
    std::string tip;
    bool shown = true;
    bool added = false;
};

inline constexpr const char* TrayTip = "Brisolt——帮助您校准系统时间！";
inline constexpr size_t TrayTipLimit = 127;  // bytes, without the terminating zero

// The tip cut to the system's field, never inside a double-byte character.
std::string CutTip(const std::string& tip);

void SetTrayIcon(Program& program, const std::string& iconFile);
void SetTrayTip(Program& program, const std::string& tip);
void SetTrayShown(Program& program, bool shown);
// The shell created the taskbar anew: the icon is added again.
void OnTaskbarCreated(Program& program);

void ShowMainWindow(Program& program);
void HideMainWindow(Program& program);
// Right click on the icon: the menu at the pointer moved 5 pixels left and up.
void PopUpTrayMenu(Program& program);
