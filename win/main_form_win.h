// MainWindow realised as a real Win32 window from its description.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <tuple>

#include "ui/main_window_events.h"
#include "ui/window_system.h"
#include "win/tray_icon_win.h"

class MainFormWin : public WindowSystem {
public:
    using EventSink = std::function<void(int source, Event event)>;

    MainFormWin(HINSTANCE instance, const WindowDesc& description, WinNotificationArea& tray);
    ~MainFormWin() override;
    MainFormWin(const MainFormWin&) = delete;
    MainFormWin& operator=(const MainFormWin&) = delete;

    void SetEventSink(EventSink sink) { sink_ = std::move(sink); }
    // Creates the window hidden, centred, with all its controls.
    bool Create();
    // Runs the event loop until the window is gone.
    int RunEventLoop();
    HWND Handle() const { return hwnd_; }

    void SetText(int control, const std::string& text) override;
    std::string Text(int control) override;
    void SetChecked(int control, bool ticked) override;
    bool Checked(int control) override;
    void SetEnabled(int control, bool enabled) override;
    void SetSelection(int control, int index) override;
    int Selection(int control) override;
    void SetPicture(int control, Picture picture) override;
    void StartTimer(int timer, int periodMs) override;
    void StopTimer(int timer) override;
    void SetWindowVisible(bool visible) override;
    std::string PictureBytes(Picture picture) override;
    Point CursorPosition() override;
    void PopUpMenu(const std::vector<MenuItemDesc>& items, Point rightEdge) override;
    ScreenMetrics Screen() override;
    void ShowTip(int32_t x, int32_t y, const std::string& markup, int32_t icon) override;
    int ShowMessageBox(const std::string& text, const std::string& title, int style) override;
    void OpenWebAddress(const std::string& address) override;
    void EndProgram(int exitCode) override;
    uint32_t TickCount() override;

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK HyperlinkProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                          DWORD_PTR self);
    static LRESULT CALLBACK TrayOwnerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK GroupBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR unused);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void CreateControl(const ControlDesc& control);
    void StackControls();
    void ShowPage(int page);
    void OnCommand(int id, int code);
    void Draw(const DRAWITEMSTRUCT& item);
    void DrawLabel(const ControlDesc& control, const DRAWITEMSTRUCT& item);
    void DrawPicture(const ControlDesc& control, const DRAWITEMSTRUCT& item);
    HFONT FontFor(const FontDesc& font);
    HWND Control(int id) const;
    bool IsEscapeForTheWindow(const MSG& msg) const;

    HINSTANCE instance_;
    const WindowDesc& description_;
    HWND hwnd_ = nullptr;
    WinNotificationArea& tray_;
    HWND trayOwner_ = nullptr;
    UINT taskbarCreated_ = 0;
    EventSink sink_;
    std::map<int, HWND> controls_;
    std::map<int, HICON> icons_;  // picture boxes showing an icon
    std::map<int, bool> linkHovered_;
    std::map<int, bool> linkVisited_;
    std::map<std::tuple<int, int, std::string>, HFONT> fonts_;
};
