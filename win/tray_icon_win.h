// The notification area through Shell_NotifyIcon, for the icon of a hidden
// owner window that is a child of MainWindow.
#pragma once

#include <windows.h>

#include "ui/tray_icon.h"

inline constexpr UINT TrayCallbackMessage = 0x8064;

class WinNotificationArea : public NotificationArea {
public:
    ~WinNotificationArea() override;
    void SetOwner(HWND owner) { owner_ = owner; }

    bool LoadIcon(const std::string& iconFile) override;
    void DropIcon() override;
    bool Add(const std::string& tip) override;
    bool Update(const std::string& tip) override;
    bool Remove() override;

private:
    bool Notify(DWORD message, const std::string& tip);

    HWND owner_ = nullptr;
    HICON icon_ = nullptr;
};
