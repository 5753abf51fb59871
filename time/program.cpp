#include "time/program.h"

void SetTimerPeriod(Program& program, int timer, int periodMs) {
    int wanted = periodMs > 0 ? periodMs : 0;
    int& current = program.timerPeriods[timer];
    if (wanted == current) return;
    current = wanted;
    if (wanted == 0) {
        program.os.window.StopTimer(timer);
    } else {
        program.os.window.StartTimer(timer, wanted);
    }
}
