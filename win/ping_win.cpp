#include <winsock2.h>
#include <ws2tcpip.h>
#include <iphlpapi.h>
#include <icmpapi.h>

#include "win/ping_win.h"

namespace {

// A dotted IPv4 address as it is, otherwise the name's first IPv4 address.
bool ResolveIpv4(const std::string& host, IN_ADDR& address) {
    if (InetPtonA(AF_INET, host.c_str(), &address) == 1) return true;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || !found) return false;
    address = reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr;
    freeaddrinfo(found);
    return true;
}

}  // namespace

int32_t WinProbe::PingHost(const std::string& host, int32_t limitMs) {
    WSADATA wsa;
    if (WSAStartup(MAKEWORD(2, 2), &wsa) != 0) return -1;
    IN_ADDR address{};
    bool resolved = ResolveIpv4(host, address);
    WSACleanup();
    if (!resolved) return -1;

    HANDLE icmp = IcmpCreateFile();
    if (icmp == INVALID_HANDLE_VALUE) return -1;
    char reply[sizeof(ICMP_ECHO_REPLY) + 8 + 16] = {};
    DWORD replies =
        IcmpSendEcho(icmp, address.S_un.S_addr, nullptr, 0, nullptr, reply, sizeof(reply), static_cast<DWORD>(limitMs));
    IcmpCloseHandle(icmp);
    const auto* echo = reinterpret_cast<const ICMP_ECHO_REPLY*>(reply);
    if (replies == 0 || echo->Status != IP_SUCCESS) return -1;
    return static_cast<int32_t>(echo->RoundTripTime);
}
