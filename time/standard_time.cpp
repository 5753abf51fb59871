#include "time/standard_time.h"

#include <cmath>
#include <cstdint>

#include "time/gbk_text.h"

std::optional<CalendarTime> ParseTimePage(const std::string& bytes) {
    std::string text = bytes.substr(0, bytes.find('\0'));
    auto afterMarker = SplitText(text, TimePageMarker, 2);
    if (afterMarker.size() < 2) return std::nullopt;
    auto number = SplitText(afterMarker[1], ")", 2);
    if (number.empty()) return std::nullopt;

    // A piece without a number would read as 0, that is 1970: never a time
    // to set the clock to.
    NumberRead ms = ReadNumber(number[0]);
    if (!ms.found || !std::isfinite(ms.value)) return std::nullopt;
    double seconds = std::trunc(ms.value / 1000);
    // Seconds are carried in 64 bits so that times after 2038 stay right.
    if (!(std::fabs(seconds) < 9.2e18)) return std::nullopt;

    CalendarTime t = AddSeconds64(BeijingEpoch, static_cast<int64_t>(seconds));
    if (t < MinCalendarTime || t > MaxCalendarTime) return std::nullopt;
    return t;
}

std::optional<CalendarTime> FetchStandardTime(HttpPort& http) {
    return ParseTimePage(http.HttpGetBytes(TimePageUrl));
}
