// The standard (Beijing) time, read from Baidu's public time page.
#pragma once

#include <optional>
#include <string>

#include "time/calendar_time.h"

inline constexpr const char* TimePageUrl = "http://open.baidu.com/special/time/";
inline constexpr const char* TimePageMarker = "window.baidu_time(";

// HTTP GET of an address; the body as bytes, empty when nothing came.
class HttpPort {
public:
    virtual ~HttpPort() = default;
    virtual std::string HttpGetBytes(const std::string& url) = 0;
};

// The time a page carries, or nothing when it carries no usable time.
std::optional<CalendarTime> ParseTimePage(const std::string& bytes);
std::optional<CalendarTime> FetchStandardTime(HttpPort& http);
