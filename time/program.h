// The program-wide values and the platform they run on. Everything here is
// touched only on the user-interface thread.
#pragma once

#include <map>

#include "promo/random.h"
#include "settings/file_system.h"
#include "time/calendar_time.h"
#include "time/standard_time.h"
#include "ui/tray_icon.h"
#include "ui/window_system.h"

// ICMP echo: the round-trip time in ms, or -1 when no reply came in time,
// the name did not resolve or the echo could not be sent.
class NetworkProbe {
public:
    virtual ~NetworkProbe() = default;
    virtual int32_t PingHost(const std::string& host, int32_t limitMs) = 0;
};

class StartupRegistry;

struct Platform {
    WindowSystem& window;
    HttpPort& http;
    ClockPort& clock;
    NetworkProbe& probe;
    FileSystem& files;
    StartupRegistry& registry;
    NotificationArea& tray;
};

struct Settings {
    int32_t autochecktime = 0;
    int32_t autochecktimeevery = 0;
    int32_t autorun = 0;
    int32_t autohide = 0;
};

struct Program {
    explicit Program(const Platform& platform) : os(platform) {}

    Platform os;
    CalendarTime standardTime = 0.0;
    // Until a fetch has succeeded the standard clock shows its placeholder:
    // 00 : 00 : 01 would be a plainly wrong Beijing time.
    bool standardTimeKnown = false;
    Settings settings;
    TrayIconState tray;
    int32_t bannerSlot = 0;
    int32_t promoShown = 0;
    RandomGenerator random;
    std::map<int, int> timerPeriods;
};

// Timer periods: 0 or less stops the timer, a different positive period
// restarts the countdown, the same period changes nothing.
void SetTimerPeriod(Program& program, int timer, int periodMs);
