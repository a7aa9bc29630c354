#pragma once
// The stopwatch: unsigned 32-bit microseconds; differences wrap.

#include <cstdint>

void timer_start();
std::uint32_t timer_lap();
void timer_stop();
std::uint32_t timer_count();

// Microseconds of the platform clock, wrapping at 2^32.
std::uint32_t timer_now();
