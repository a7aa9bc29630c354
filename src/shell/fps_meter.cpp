#include "shell/fps_meter.h"

#include <cstdio>

#include "framework/framework.h"

void FpsMeter::step() {
    if (ready) {
        // The stopwatch ran from the first to the tenth measured frame: nine
        // frame intervals, so nine million over the microseconds is the rate
        // (ten million would read 11% high). A zero reading (a clock that did
        // not move) counts as one microsecond rather than dividing by zero.
        std::uint32_t elapsed = timer_count();
        if (elapsed == 0) elapsed = 1;
        const float elapsedFloat = static_cast<float>(elapsed);
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%.2f", 9000000.0 / elapsedFloat);
        text = buffer;
        ready = 0;
        running = 0;
        countdown = 10;
        return;
    }
    if (!running) {
        running = 1;
        timer_start();
    }
    --countdown;
    if (countdown == 0) {
        timer_stop();
        ready = 1;
    }
}
