#include <winsock2.h>
#include <ws2tcpip.h>

#include "tests/win/local_http_server.h"
#include "win/http_win.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::string Response(const std::string& status, const std::string& body, bool withLength = true) {
    std::string r = "HTTP/1.0 " + status + "\r\nContent-Type: text/html\r\n";
    if (withLength) r += "Content-Length: " + std::to_string(body.size()) + "\r\n";
    return r + "\r\n" + body;
}

std::string Pattern(size_t n) {
    std::string s(n, '\0');
    for (size_t i = 0; i < n; ++i) s[i] = static_cast<char>('a' + i % 26);
    return s;
}

void SleepUntilStopped(const std::atomic<bool>& stop) {
    while (!stop) Sleep(20);
}

ULONGLONG Elapsed(ULONGLONG start) {
    return GetTickCount64() - start;
}

TEST(WinInetHttp, SendsAPlainUncachedHttp10Get) {
    LocalServer server([](SOCKET s, const std::string&, const std::atomic<bool>&) {
        SendAll(s, Response("200 OK", "window.baidu_time(1418380800000)"));
    });
    WinInetHttp http;
    EXPECT_EQ(http.HttpGetBytes(server.Url("/special/time/")), "window.baidu_time(1418380800000)");
    ASSERT_EQ(server.Requests().size(), 1u);
    std::string request = server.Requests()[0];
    EXPECT_EQ(request.rfind("GET /special/time/ HTTP/1.0\r\n", 0), 0u) << request;
    EXPECT_NE(request.find("\r\nAccept: */*\r\n"), std::string::npos) << request;
    EXPECT_NE(request.find("\r\nUser-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)\r\n"), std::string::npos)
        << request;
    EXPECT_EQ(request.find("Referer"), std::string::npos) << request;
}

TEST(WinInetHttp, TheClientServesManyFetches) {
    int count = 0;
    LocalServer server([&count](SOCKET s, const std::string&, const std::atomic<bool>&) {
        SendAll(s, Response("200 OK", "page " + std::to_string(++count)));
    });
    WinInetHttp http;
    EXPECT_EQ(http.HttpGetBytes(server.Url("/a")), "page 1");
    EXPECT_EQ(http.HttpGetBytes(server.Url("/a")), "page 2");  // never from a cache
}

TEST(WinInetHttp, GathersABodyWithoutLengthAcrossChunks) {
    const std::string body = Pattern(50000);
    LocalServer server([&body](SOCKET s, const std::string&, const std::atomic<bool>&) {
        SendAll(s, "HTTP/1.0 200 OK\r\n\r\n");
        for (size_t at = 0; at < body.size(); at += 7000) {
            SendAll(s, body.substr(at, 7000));
            Sleep(10);
        }
    });
    WinInetHttp http;
    EXPECT_EQ(http.HttpGetBytes(server.Url("/")), body);
}

TEST(WinInetHttp, GathersABodyLongerThanOneChunk) {
    const std::string body = Pattern(300000);
    LocalServer server(
        [&body](SOCKET s, const std::string&, const std::atomic<bool>&) { SendAll(s, Response("200 OK", body)); });
    WinInetHttp http;
    EXPECT_EQ(http.HttpGetBytes(server.Url("/")), body);
}

TEST(WinInetHttp, ReturnsTheBodyOfAnErrorStatus) {
    LocalServer server([](SOCKET s, const std::string&, const std::atomic<bool>&) {
        SendAll(s, Response("404 Not Found", "<html>not here</html>"));
    });
    WinInetHttp http;
    EXPECT_EQ(http.HttpGetBytes(server.Url("/special/time/")), "<html>not here</html>");
}

TEST(WinInetHttp, FollowsARedirect) {
    LocalServer* self = nullptr;
    LocalServer server([&self](SOCKET s, const std::string& request, const std::atomic<bool>&) {
        if (request.rfind("GET /old ", 0) == 0) {
            SendAll(s, "HTTP/1.0 302 Found\r\nLocation: " + self->Url("/new") + "\r\nContent-Length: 0\r\n\r\n");
        } else {
            SendAll(s, Response("200 OK", "moved here"));
        }
    });
    self = &server;
    WinInetHttp http;
    EXPECT_EQ(http.HttpGetBytes(server.Url("/old")), "moved here");
    ASSERT_EQ(server.Requests().size(), 2u);
    EXPECT_EQ(server.Requests()[1].rfind("GET /new ", 0), 0u);
}

TEST(WinInetHttp, KeepsWhatCameBeforeTheConnectionBroke) {
    LocalServer server([](SOCKET s, const std::string&, const std::atomic<bool>&) {
        SendAll(s, "HTTP/1.0 200 OK\r\nContent-Length: 1000\r\n\r\n" + Pattern(600));
    });
    WinInetHttp http;
    EXPECT_EQ(http.HttpGetBytes(server.Url("/")), Pattern(600));
}

TEST(WinInetHttp, StopsReadingAtTheBodyCap) {
    const std::string body = Pattern(400000);
    LocalServer server([&body](SOCKET s, const std::string&, const std::atomic<bool>&) {
        SendAll(s, Response("200 OK", body, false));
    });
    HttpLimits limits;
    limits.maxBodyBytes = 100000;
    WinInetHttp http(limits);
    EXPECT_EQ(http.HttpGetBytes(server.Url("/")), body.substr(0, 100000));
}

TEST(WinInetHttp, ASilentServerEndsInAnEmptyResult) {
    LocalServer server([](SOCKET, const std::string&, const std::atomic<bool>& stop) { SleepUntilStopped(stop); });
    HttpLimits limits;
    limits.connectMs = limits.sendMs = limits.receiveMs = 1500;
    WinInetHttp http(limits);
    ULONGLONG start = GetTickCount64();
    EXPECT_EQ(http.HttpGetBytes(server.Url("/special/time/")), "");
    EXPECT_LT(Elapsed(start), 8000u);
}

TEST(WinInetHttp, ATricklingServerIsCutOffWithWhatCame) {
    LocalServer server([](SOCKET s, const std::string&, const std::atomic<bool>& stop) {
        SendAll(s, "HTTP/1.0 200 OK\r\n\r\n");
        for (int i = 0; i < 200 && !stop; ++i) {
            SendAll(s, "x");
            Sleep(100);
        }
    });
    HttpLimits limits;
    limits.wholeBodyMs = 1500;
    WinInetHttp http(limits);
    ULONGLONG start = GetTickCount64();
    std::string body = http.HttpGetBytes(server.Url("/"));
    EXPECT_LT(Elapsed(start), 6000u);
    EXPECT_FALSE(body.empty());
    EXPECT_EQ(body, std::string(body.size(), 'x'));
}

TEST(WinInetHttp, NoServerOrNoAddressGivesNothing) {
    int closedPort = 0;
    {
        LocalServer server([](SOCKET, const std::string&, const std::atomic<bool>&) {});
        closedPort = std::stoi(server.Url("").substr(17));
    }
    WinInetHttp http;
    EXPECT_EQ(http.HttpGetBytes("http://127.0.0.1:" + std::to_string(closedPort) + "/"), "");
    EXPECT_EQ(http.HttpGetBytes("not an address"), "");
    EXPECT_EQ(http.HttpGetBytes(""), "");
}

}  // namespace
