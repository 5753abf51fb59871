// A test double of the platform: control properties in memory, timers on
// virtual time, message boxes answered by the test, a fake network and clock.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "tests/fakes/fake_files.h"
#include "time/program.h"
#include "ui/main_window.h"
#include "ui/main_window_events.h"

struct MessageBoxCall {
    std::string text;
    std::string title;
    int style = 0;
};

class FakeWindowSystem : public WindowSystem {
public:
    // Every effect, in order: "text 1012 XX : XX : XX", "box 校准完成", ...
    std::vector<std::string> log;
    std::vector<MessageBoxCall> boxes;
    // Answers the next message box; may advance time while the box is "open".
    std::deque<std::function<int(const MessageBoxCall&)>> answers;
    std::function<void(int, Event)> sink;

    std::map<int, std::string> texts;
    std::map<int, bool> checked;
    std::map<int, bool> enabled;
    std::map<int, int> selection;
    std::map<int, Picture> pictures;
    std::vector<std::string> opened;
    bool visible = false;
    int endedWith = -1;
    uint32_t tickCount = 12345;
    ScreenMetrics screen{1920, 1080, 1040};
    Point cursor{1800, 1060};
    // Picks a menu item while the menu is "open"; 0 closes it without a choice.
    std::function<int(const std::vector<MenuItemDesc>&)> menuChoice;
    std::vector<std::string> tips;  // markup of each notice shown

    FakeWindowSystem();

    // Lets virtual time pass, firing due timers in order.
    void Advance(int64_t ms);
    int64_t Now() const { return now_; }
    int TimerPeriod(int timer) const;

    void SetText(int control, const std::string& text) override;
    std::string Text(int control) override { return texts[control]; }
    void SetChecked(int control, bool ticked) override;
    bool Checked(int control) override { return checked[control]; }
    void SetEnabled(int control, bool on) override;
    void SetSelection(int control, int index) override;
    int Selection(int control) override { return selection[control]; }
    void SetPicture(int control, Picture picture) override;
    void StartTimer(int timer, int periodMs) override;
    void StopTimer(int timer) override;
    void SetWindowVisible(bool visible) override;
    std::string PictureBytes(Picture picture) override;
    Point CursorPosition() override { return cursor; }
    void PopUpMenu(const std::vector<MenuItemDesc>& items, Point rightEdge) override;
    ScreenMetrics Screen() override { return screen; }
    void ShowTip(int32_t x, int32_t y, const std::string& markup, int32_t icon) override;
    int ShowMessageBox(const std::string& text, const std::string& title, int style) override;
    void OpenWebAddress(const std::string& address) override;
    void EndProgram(int exitCode) override;
    uint32_t TickCount() override { return tickCount; }

private:
    struct Timer {
        int period = 0;
        int64_t due = 0;
    };
    std::map<int, Timer> timers_;
    int64_t now_ = 0;
};

class FakeHttp : public HttpPort {
public:
    std::deque<std::string> pages;  // one per fetch; empty when none is left
    int fetches = 0;
    std::string HttpGetBytes(const std::string&) override {
        ++fetches;
        if (pages.empty()) return {};
        std::string page = pages.front();
        pages.pop_front();
        return page;
    }
};

class FakeClock : public ClockPort {
public:
    CalendarFields now{2014, 12, 12, 5, 18, 40, 0};
    std::vector<CalendarFields> sets;
    bool accept = true;
    CalendarFields ReadLocalClock() override { return now; }
    // An accepted time becomes the clock's own.
    bool SetLocalClock(const CalendarFields& f) override {
        sets.push_back(f);
        if (accept) now = f;
        return accept;
    }
};

class FakeProbe : public NetworkProbe {
public:
    int32_t answer = 12;
    std::vector<std::string> hosts;
    int32_t PingHost(const std::string& host, int32_t) override {
        hosts.push_back(host);
        return answer;
    }
};

class FakeNotificationArea : public NotificationArea {
public:
    bool accepts = true;
    bool loaded = false;
    std::vector<std::string> log;  // "add <tip>", "update <tip>", "remove"
    std::vector<std::string>* journal = nullptr;

    bool LoadIcon(const std::string& iconFile) override;
    void DropIcon() override { loaded = false; }
    bool Add(const std::string& tip) override;
    bool Update(const std::string& tip) override;
    bool Remove() override;
};

// A page as the time service serves it, for a time in milliseconds.
std::string TimePage(int64_t ms);

// The program on the fake platform, with MainWindow's events wired.
struct FakeProgram {
    FakeWindowSystem window;
    FakeHttp http;
    FakeClock clock;
    FakeProbe probe;
    FakeFileSystem files;
    FakeStartupRegistry registry;
    FakeNotificationArea tray;
    Program program{Platform{window, http, clock, probe, files, registry, tray}};

    FakeProgram();
    // Launch: the description's timers, then the creation handler.
    void Launch();
    // Writes setup.ini as the program will find it at start-up.
    void StoreSettings(const Settings& s);
    void Raise(int source, Event event) { HandleMainWindowEvent(program, source, event); }
};
