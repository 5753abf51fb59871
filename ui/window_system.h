// The window system as the handlers see it: properties of named controls
// and of MainWindow, timers, message boxes, the browser.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ui/window_description.h"

// What a message box returns: which button closed it.
enum MessageBoxResult : int {
    MbOk = 0,
    MbCancel = 1,
    MbAbort = 2,
    MbRetry = 3,
    MbIgnore = 4,
    MbYes = 5,
    MbNo = 6,
};

// Message box styles, the standard Windows flags.
inline constexpr int MbStyleError = 16;     // error icon, OK
inline constexpr int MbStyleQuestion = 33;  // question icon, OK and Cancel
inline constexpr int MbStyleInfo = 64;      // information icon, OK

struct Point {
    int32_t x = 0;
    int32_t y = 0;
    bool operator==(const Point&) const = default;
};

struct ScreenMetrics {
    int32_t width = 0;
    int32_t height = 0;
    int32_t workAreaBottom = 0;  // bottom edge of the desktop work area
};

class WindowSystem {
public:
    virtual ~WindowSystem() = default;

    virtual void SetText(int control, const std::string& text) = 0;
    virtual std::string Text(int control) = 0;
    virtual void SetChecked(int control, bool ticked) = 0;
    virtual bool Checked(int control) = 0;
    virtual void SetEnabled(int control, bool enabled) = 0;
    // Index into the list's items, or -1 for no selection.
    virtual void SetSelection(int control, int index) = 0;
    virtual int Selection(int control) = 0;
    virtual void SetPicture(int control, Picture picture) = 0;

    virtual void StartTimer(int timer, int periodMs) = 0;  // restarts the countdown
    virtual void StopTimer(int timer) = 0;

    // Shows and activates MainWindow, or hides it.
    virtual void SetWindowVisible(bool visible) = 0;
    // The complete file bytes of a picture the program carries.
    virtual std::string PictureBytes(Picture picture) = 0;

    // The mouse pointer on the screen.
    virtual Point CursorPosition() = 0;
    // Makes MainWindow the foreground window, then shows a pop-up menu of the
    // items with its right edge at the point; the chosen item comes back as
    // a command event once the menu has closed.
    virtual void PopUpMenu(const std::vector<MenuItemDesc>& items, Point rightEdge) = 0;

    // The primary screen, read afresh at each call.
    virtual ScreenMetrics Screen() = 0;
    // Shows a notice in the balloon tip box 气球提示框1, its pointer on the
    // anchor point; a negative icon index shows no icon.
    virtual void ShowTip(int32_t x, int32_t y, const std::string& markup, int32_t icon) = 0;

    // Task-modal, no owner; returns a MessageBoxResult.
    virtual int ShowMessageBox(const std::string& text, const std::string& title, int style) = 0;
    virtual void OpenWebAddress(const std::string& address) = 0;
    // Ends the process at once; in tests it returns, so callers return too.
    virtual void EndProgram(int exitCode) = 0;
    // Milliseconds since the system started.
    virtual uint32_t TickCount() = 0;
};
