// How far from the true time would a calibration set the clock? A local
// server serves the host's own time; for each calibration the time handed to
// SetLocalTime is compared with the host clock at that moment.
#include <winsock2.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>
#include <vector>

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

// Serves the time page with the host's time at the moment of the request.
class TimeServer {
public:
    TimeServer() {
        WSADATA wsa;
        WSAStartup(MAKEWORD(2, 2), &wsa);
        listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(listener_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        listen(listener_, 8);
        int len = sizeof addr;
        getsockname(listener_, reinterpret_cast<sockaddr*>(&addr), &len);
        port_ = ntohs(addr.sin_port);
        thread_ = std::thread([this] { Serve(); });
    }
    ~TimeServer() {
        stop_ = true;
        closesocket(listener_);
        thread_.join();
    }
    std::string Url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/special/time/"; }

private:
    void Serve() {
        while (!stop_) {
            SOCKET c = accept(listener_, nullptr, nullptr);
            if (c == INVALID_SOCKET) break;
            char buf[2048];
            std::string head;
            while (head.find("\r\n\r\n") == std::string::npos) {
                int n = recv(c, buf, sizeof buf, 0);
                if (n <= 0) break;
                head.append(buf, static_cast<size_t>(n));
            }
            std::string body = "<script>window.baidu_time(" + std::to_string(NowUnixMs()) + ");</script>";
            std::string response =
                "HTTP/1.0 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
            send(c, response.data(), static_cast<int>(response.size()), 0);
            shutdown(c, SD_SEND);
            closesocket(c);
        }
    }
    SOCKET listener_ = INVALID_SOCKET;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

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
    TimeServer server;
    LocalHttp http(server.Url());
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
