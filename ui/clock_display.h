// The clock comparison: the standard time beside the machine's own clock.
#pragma once

#include <string>

#include "time/program.h"

// hh : mm : ss, two digits each.
std::string ClockText(CalendarTime t);
// Tick of 时钟1.
void OnClockTick(Program& program);
