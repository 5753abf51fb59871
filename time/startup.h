// Start-up and shutdown: the creation handler of MainWindow, the exit
// question and the destroy handler.
#pragma once

#include "time/program.h"

inline constexpr const char* probeHost = "www.baidu.com";
inline constexpr int32_t ProbeLimitMs = 10000;

// Starts the timers of the window description; their ticks are handled once
// an event loop runs.
void StartInitialTimers(Program& program);
void OnMainWindowCreated(Program& program);
void OnMainWindowDestroyed(Program& program);
void ConfirmExit(Program& program);
