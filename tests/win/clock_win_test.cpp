#include "win/clock_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <ctime>

namespace {

// Waits for the start of a new second, so that a time set to the current
// whole second is within Wine's half-second tolerance.
void WaitForSecondStart() {
    SYSTEMTIME st;
    do {
        Sleep(5);
        GetSystemTime(&st);
    } while (st.wMilliseconds > 100);
}

}  // namespace

TEST(WinClock, ReadsTheLocalTimeOfTheCLibrary) {
    WinClock clock;
    WaitForSecondStart();
    CalendarFields f = clock.ReadLocalClock();
    SYSTEMTIME st;
    GetLocalTime(&st);
    EXPECT_EQ(f.year, st.wYear);
    EXPECT_EQ(f.month, st.wMonth);
    EXPECT_EQ(f.day, st.wDay);
    EXPECT_EQ(f.dayOfWeek, st.wDayOfWeek);
    EXPECT_EQ(f.hour, st.wHour);
    EXPECT_EQ(f.minute, st.wMinute);
    EXPECT_EQ(f.second, st.wSecond);
}

TEST(WinClock, ReadingIsBeijingTimeInTheTestEnvironment) {
    WinClock clock;
    WaitForSecondStart();
    CalendarTime local = CurrentLocalTime(clock);
    CalendarTime beijing = AddSeconds64(BeijingEpoch, static_cast<int64_t>(std::time(nullptr)));
    EXPECT_NEAR(local, beijing, 1.5 / 86400);
}

TEST(WinClock, SettingTheCurrentSecondIsAccepted) {
    WinClock clock;
    WaitForSecondStart();
    EXPECT_TRUE(SetSystemClock(clock, CurrentLocalTime(clock)));
}

TEST(WinClock, SettingAFarTimeIsRefused) {
    // Wine never moves the host's clock: it refuses any time not within
    // half a second of now.
    WinClock clock;
    EXPECT_FALSE(SetSystemClock(clock, AddSeconds(CurrentLocalTime(clock), 3600)));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PRIVILEGE_NOT_HELD));
}
