#include "win/clock_win.h"

#include <windows.h>

#include <ctime>

CalendarFields WinClock::ReadLocalClock() {
    std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_s(&tm, &now);
    CalendarFields f;
    f.year = tm.tm_year + 1900;
    f.month = tm.tm_mon + 1;
    f.day = tm.tm_mday;
    f.dayOfWeek = tm.tm_wday;
    f.hour = tm.tm_hour;
    f.minute = tm.tm_min;
    f.second = tm.tm_sec;
    return f;
}

bool WinClock::SetLocalClock(const CalendarFields& f) {
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(f.year);
    st.wMonth = static_cast<WORD>(f.month);
    st.wDayOfWeek = static_cast<WORD>(f.dayOfWeek);
    st.wDay = static_cast<WORD>(f.day);
    st.wHour = static_cast<WORD>(f.hour);
    st.wMinute = static_cast<WORD>(f.minute);
    st.wSecond = static_cast<WORD>(f.second);
    st.wMilliseconds = 0;
    return SetLocalTime(&st) != FALSE;
}
