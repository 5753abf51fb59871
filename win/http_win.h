// HTTP GET through WinInet, the system's own client.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <cstddef>
#include <string>

#include "time/standard_time.h"

struct HttpLimits {
    DWORD connectMs = 10000;
    DWORD sendMs = 10000;
    DWORD receiveMs = 10000;        // each read of the response
    DWORD wholeBodyMs = 30000;      // a server trickling bytes stops here
    size_t maxBodyBytes = 1 << 20;  // far above any real time page
};

class WinInetHttp : public HttpPort {
public:
    explicit WinInetHttp(HttpLimits limits = {}) : limits_(limits) {}
    ~WinInetHttp() override;
    WinInetHttp(const WinInetHttp&) = delete;
    WinInetHttp& operator=(const WinInetHttp&) = delete;

    std::string HttpGetBytes(const std::string& url) override;

private:
    HINTERNET Session();
    void SetTimeouts(HINTERNET h);

    HttpLimits limits_;
    HINTERNET session_ = nullptr;  // one client instance for the whole run
};
