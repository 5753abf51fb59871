// Any bytes in: a time inside the calendar range or no time, never a crash.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "time/standard_time.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string page(reinterpret_cast<const char*>(data), size);
    std::optional<CalendarTime> t = ParseTimePage(page);
    if (t && !(*t >= MinCalendarTime && *t <= MaxCalendarTime)) std::abort();
    return 0;
}
