#include "time/calendar_time.h"

#include <cmath>

namespace {

constexpr double kSecondSpan = 1.1574074074074073e-05;  // 1/86400 of a day
constexpr double kHalfSecond = 5.787037037037037e-06;   // 1/172800 of a day

// Values before day 0 count days backwards with a positive time of day;
// arithmetic happens on the continuous scale.
double ToContinuous(double v) {
    if (v >= 0) return v;
    double c = std::ceil(v);
    return c - (v - c);
}

double FromContinuous(double x) {
    if (x >= 0) return x;
    double f = std::floor(x);
    return f + (f - x);
}

// Days from 1970-01-01 of a proleptic Gregorian date (H. Hinnant's algorithm).
int64_t DaysFromCivil(int64_t y, int m, int d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, CalendarFields& f) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    f.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    f.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    f.year = static_cast<int>(yoe + era * 400 + (f.month <= 2));
}

const int64_t kDay0 = DaysFromCivil(1899, 12, 30);

}  // namespace

CalendarTime ClampCalendarTime(CalendarTime t) {
    if (std::isnan(t) || t > MaxCalendarTime) return MaxCalendarTime;
    if (t < MinCalendarTime) return MinCalendarTime;
    return t;
}

CalendarTime AddSeconds(CalendarTime t, int32_t seconds) {
    return AddSeconds64(t, seconds);
}

CalendarTime AddSeconds64(CalendarTime t, int64_t seconds) {
    if (seconds == 0) return t;
    double span = static_cast<double>(seconds) * kSecondSpan;
    return FromContinuous(ToContinuous(ClampCalendarTime(t)) + span);
}

CalendarFields SplitCalendarTime(CalendarTime t) {
    double v = ClampCalendarTime(t);
    double r = v > 0 ? v + kHalfSecond : v - kHalfSecond;
    auto dayNumber = static_cast<int64_t>(std::trunc(r));
    double a = std::fabs(r);
    auto s = static_cast<int>(std::trunc((a - std::floor(a)) * 86400));

    CalendarFields f;
    CivilFromDays(kDay0 + dayNumber, f);
    f.dayOfWeek = static_cast<int>(((dayNumber % 7) + 7 + 6) % 7);  // day 0 is a Saturday
    f.hour = s / 3600;
    f.minute = (s / 60) % 60;
    f.second = s % 60;
    return f;
}

int32_t HourOf(CalendarTime t) {
    return SplitCalendarTime(t).hour;
}
int32_t MinuteOf(CalendarTime t) {
    return SplitCalendarTime(t).minute;
}
int32_t SecondOf(CalendarTime t) {
    return SplitCalendarTime(t).second;
}

CalendarTime CalendarTimeFromFields(const CalendarFields& f) {
    auto day = static_cast<double>(DaysFromCivil(f.year, f.month, f.day) - kDay0);
    double time = (f.hour * 3600 + f.minute * 60 + f.second) * kSecondSpan;
    // Before day 0 the time of day still counts forwards.
    return day < 0 ? day - time : day + time;
}

std::string IntToText(int32_t i) {
    return std::to_string(i);
}

CalendarTime CurrentLocalTime(ClockPort& clock) {
    return CalendarTimeFromFields(clock.ReadLocalClock());
}

bool SetSystemClock(ClockPort& clock, CalendarTime t) {
    return clock.SetLocalClock(SplitCalendarTime(t));
}
