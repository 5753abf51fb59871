// The machine's clock: the C library's local time, and SetLocalTime.
#pragma once

#include "time/calendar_time.h"

class WinClock : public ClockPort {
public:
    CalendarFields ReadLocalClock() override;
    bool SetLocalClock(const CalendarFields& f) override;
};
