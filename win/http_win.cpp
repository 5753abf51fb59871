#include "win/http_win.h"

#include <algorithm>
#include <vector>

#include "win/text_win.h"

namespace {

constexpr wchar_t kUserAgent[] = L"Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
constexpr DWORD kChunkWithLength = 102400;
constexpr DWORD kChunkWithoutLength = 10240;

struct Handle {
    HINTERNET h = nullptr;
    ~Handle() {
        if (h) InternetCloseHandle(h);
    }
};

struct UrlParts {
    std::wstring host;
    INTERNET_PORT port = INTERNET_DEFAULT_HTTP_PORT;
    std::wstring path;
};

bool CrackUrl(const std::wstring& url, UrlParts& parts) {
    URL_COMPONENTSW c{};
    c.dwStructSize = sizeof(c);
    c.dwHostNameLength = 1;
    c.dwUrlPathLength = 1;
    c.dwExtraInfoLength = 1;
    if (!InternetCrackUrlW(url.c_str(), 0, 0, &c) || c.dwHostNameLength == 0) return false;
    parts.host.assign(c.lpszHostName, c.dwHostNameLength);
    parts.port = c.nPort;
    parts.path.assign(c.lpszUrlPath, c.dwUrlPathLength);
    if (c.lpszExtraInfo) parts.path.append(c.lpszExtraInfo, c.dwExtraInfoLength);
    if (parts.path.empty()) parts.path = L"/";
    return true;
}

DWORD ChunkSize(HINTERNET request) {
    DWORD length = 0;
    DWORD size = sizeof(length);
    if (!HttpQueryInfoW(request, HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &length, &size, nullptr)) {
        return kChunkWithoutLength;
    }
    return length >= kChunkWithLength ? kChunkWithLength : length + 1;
}

}  // namespace

WinInetHttp::~WinInetHttp() {
    if (session_) InternetCloseHandle(session_);
}

HINTERNET WinInetHttp::Session() {
    if (!session_) session_ = InternetOpenW(kUserAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    return session_;
}

// The fetch blocks the window: a silent server must not freeze it. Set on
// each handle, since not every WinInet passes them down from the session.
void WinInetHttp::SetTimeouts(HINTERNET h) {
    InternetSetOptionW(h, INTERNET_OPTION_CONNECT_TIMEOUT, &limits_.connectMs, sizeof(DWORD));
    InternetSetOptionW(h, INTERNET_OPTION_SEND_TIMEOUT, &limits_.sendMs, sizeof(DWORD));
    InternetSetOptionW(h, INTERNET_OPTION_RECEIVE_TIMEOUT, &limits_.receiveMs, sizeof(DWORD));
}

std::string WinInetHttp::HttpGetBytes(const std::string& url) {
    std::string body;
    UrlParts parts;
    HINTERNET session = Session();
    if (session) SetTimeouts(session);
    if (!session || !CrackUrl(GbkToWide(url), parts)) return body;

    Handle connection{
        InternetConnectW(session, parts.host.c_str(), parts.port, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0)};
    if (!connection.h) return body;
    SetTimeouts(connection.h);
    const wchar_t* accept[] = {L"*/*", nullptr};
    DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE;
    Handle request{HttpOpenRequestW(connection.h, L"GET", parts.path.c_str(), L"HTTP/1.0", nullptr, accept, flags, 0)};
    if (request.h) SetTimeouts(request.h);
    if (!request.h || !HttpSendRequestW(request.h, nullptr, 0, nullptr, 0)) return body;

    // The status is not examined: an error page's body is returned as well.
    // Reading only what has arrived keeps each read short, so a server that
    // trickles bytes is stopped by the deadline.
    std::vector<char> chunk(ChunkSize(request.h));
    ULONGLONG deadline = GetTickCount64() + limits_.wholeBodyMs;
    while (body.size() < limits_.maxBodyBytes && GetTickCount64() < deadline) {
        DWORD available = 0;
        if (!InternetQueryDataAvailable(request.h, &available, 0, 0) || available == 0) break;
        DWORD wanted = std::min<DWORD>(available, static_cast<DWORD>(chunk.size()));
        DWORD read = 0;
        if (!InternetReadFile(request.h, chunk.data(), wanted, &read) || read == 0) {
            break;  // the end, or a failure part-way: keep what came
        }
        body.append(chunk.data(), std::min<size_t>(read, limits_.maxBodyBytes - body.size()));
    }
    return body;
}
