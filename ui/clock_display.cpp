#include "ui/clock_display.h"

#include "ui/main_window.h"

namespace {

std::string TwoDigits(int32_t n) {
    std::string text(n > 9 ? 0 : 1, '0');
    text += IntToText(n);
    return text;
}

}  // namespace

std::string ClockText(CalendarTime t) {
    return TwoDigits(HourOf(t)) + " : " + TwoDigits(MinuteOf(t)) + " : " + TwoDigits(SecondOf(t));
}

void OnClockTick(Program& program) {
    program.standardTime = AddSeconds(program.standardTime, 1);
    if (program.standardTimeKnown) program.os.window.SetText(MainWindow::标签6, ClockText(program.standardTime));
    program.os.window.SetText(MainWindow::标签7, ClockText(CurrentLocalTime(program.os.clock)));
}
