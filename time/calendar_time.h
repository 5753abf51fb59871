// The program's one date-and-time type: an OLE Automation date, local time.
#pragma once

#include <bit>
#include <cstdint>
#include <string>

using CalendarTime = double;

inline constexpr CalendarTime MinCalendarTime = -657434.0;  // 0100-01-01 00:00:00
inline constexpr CalendarTime MaxCalendarTime = 2958465.0;  // 9999-12-31 00:00:00
// 1970-01-01 08:00:00: the Unix epoch in Beijing time.
inline constexpr CalendarTime BeijingEpoch = std::bit_cast<double>(0x40D8F85555555555ULL);

// The fields of a value, rounded to the nearest second.
struct CalendarFields {
    int year = 0;
    int month = 0;      // 1..12
    int day = 0;        // 1..31
    int dayOfWeek = 0;  // 0 = Sunday
    int hour = 0;
    int minute = 0;
    int second = 0;
};

CalendarTime ClampCalendarTime(CalendarTime t);
CalendarTime AddSeconds(CalendarTime t, int32_t seconds);
// The same arithmetic for counts beyond 32 bits (page times after 2038).
CalendarTime AddSeconds64(CalendarTime t, int64_t seconds);
CalendarFields SplitCalendarTime(CalendarTime t);
int32_t HourOf(CalendarTime t);
int32_t MinuteOf(CalendarTime t);
int32_t SecondOf(CalendarTime t);
// Builds a value from local calendar fields; the day of week is ignored.
CalendarTime CalendarTimeFromFields(const CalendarFields& f);
std::string IntToText(int32_t i);

// The machine's clock, as the platform offers it.
class ClockPort {
public:
    virtual ~ClockPort() = default;
    // Local calendar fields of the current whole second.
    virtual CalendarFields ReadLocalClock() = 0;
    // Asks the system to set its local time; true when it accepted.
    virtual bool SetLocalClock(const CalendarFields& f) = 0;
};

CalendarTime CurrentLocalTime(ClockPort& clock);
bool SetSystemClock(ClockPort& clock, CalendarTime t);
