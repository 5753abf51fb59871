// The events of MainWindow and the handler each one runs.
#pragma once

#include "time/program.h"

enum class Event {
    Created,
    Destroyed,
    Click,
    Tick,
    LeftButtonDown,
    DoubleClick,
    RightClick,
    Command,
    TaskbarCreated,
};

// `source` is a control, timer or menu item of MainWindow.
void HandleMainWindowEvent(Program& program, int source, Event event);
