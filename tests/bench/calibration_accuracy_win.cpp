// How far from the true time would a calibration set the clock? A local
// server serves the host's own time; for each calibration the time handed to
// SetLocalTime is compared with the host clock at that moment.
#include <algorithm>
#include <cstdio>
#include <vector>

#include "tests/win/local_http_server.h"
#include "time/standard_time.h"
#include "win/http_win.h"

namespace {

constexpr int64_t kUnixEpochIn100ns = 116444736000000000LL;

int64_t NowUnixMs() {
    FILETIME ft;
    GetSystemTimePreciseAsFileTime(&ft);
    int64_t t = (static_cast<int64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    return (t - kUnixEpochIn100ns) / 10000;
}

// Sends the program's fetch to the local server instead.
class LocalHttp : public HttpPort {
public:
    explicit LocalHttp(std::string url) : url_(std::move(url)) {}
    std::string HttpGetBytes(const std::string&) override { return real_.HttpGetBytes(url_); }

private:
    std::string url_;
    WinInetHttp real_;
};

// Records how far the time to be set lies from the host clock, in ms.
class MeasuringClock : public ClockPort {
public:
    std::vector<int64_t> differences;
    CalendarFields ReadLocalClock() override { return {}; }
    bool SetLocalClock(const CalendarFields& f) override {
        int64_t now = NowUnixMs();
        SYSTEMTIME local{static_cast<WORD>(f.year),
                         static_cast<WORD>(f.month),
                         0,
                         static_cast<WORD>(f.day),
                         static_cast<WORD>(f.hour),
                         static_cast<WORD>(f.minute),
                         static_cast<WORD>(f.second),
                         0};
        SYSTEMTIME utc;
        TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc);
        FILETIME ft;
        SystemTimeToFileTime(&utc, &ft);
        int64_t t = (static_cast<int64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
        differences.push_back((t - kUnixEpochIn100ns) / 10000 - now);
        return false;  // never touch the clock
    }
};

}  // namespace

int main(int argc, char** argv) {
    int runs = argc > 1 ? std::atoi(argv[1]) : 200;
    // Serves the time page with the host's time at the moment of the request.
    LocalServer server([](SOCKET s, const std::string&, const std::atomic<bool>&) {
        std::string body = "<script>window.baidu_time(" + std::to_string(NowUnixMs()) + ");</script>";
        SendAll(s, "HTTP/1.0 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body);
    });
    LocalHttp http(server.Url("/special/time/"));
    MeasuringClock clock;
    for (int i = 0; i < runs; ++i) {
        // The steps of a calibration: fetch, then set the clock one second on.
        auto fetched = FetchStandardTime(http);
        if (fetched) SetSystemClock(clock, AddSeconds(*fetched, 1));
        Sleep(static_cast<DWORD>(7 + i % 13));  // spread over the phases of a second
    }
    std::vector<int64_t>& d = clock.differences;
    if (d.empty()) {
        std::printf("no calibration succeeded\n");
        return 1;
    }
    std::sort(d.begin(), d.end());
    std::printf("calibrations: %zu of %d\n", d.size(), runs);
    std::printf("set time minus true time (ms): min %lld  median %lld  max %lld\n", static_cast<long long>(d.front()),
                static_cast<long long>(d[d.size() / 2]), static_cast<long long>(d.back()));
    return 0;
}
