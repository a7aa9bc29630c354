#pragma once
// Turning a high-resolution counter into microseconds.

#include <cstdint>

// Microseconds for `counter` ticks of a clock running at `frequency` ticks
// per second. Whole seconds and the remainder are converted apart, so the
// result is exact (rounded down) for any counter value: the naive
// counter * 1000000 / frequency overflows 64 bits after about five hours of
// uptime on a 1 GHz counter. Frequencies up to 1.8e13 Hz are safe; a zero
// frequency gives 0.
std::uint64_t counter_to_microseconds(std::uint64_t counter, std::uint64_t frequency);
