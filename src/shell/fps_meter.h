#pragma once
// The frame-rate meter: measures ten shown frames on the shared stopwatch
// and shows the result from the eleventh on, until the next measurement.

#include <string>

struct FpsMeter {
    int countdown = 10;
    int running = 0;
    int ready = 0;
    std::string text;  // kept between measurements; empty until the first

    // One step, in a frame where the frame rate is shown.
    void step();
};
