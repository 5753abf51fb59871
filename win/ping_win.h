// The start-up connectivity probe: one ICMP echo through icmp.dll.
#pragma once

#include "time/program.h"

class WinProbe : public NetworkProbe {
public:
    int32_t PingHost(const std::string& host, int32_t limitMs) override;
};
