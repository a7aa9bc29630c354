#include "framework/clock.h"

std::uint64_t counter_to_microseconds(std::uint64_t counter, std::uint64_t frequency) {
    constexpr std::uint64_t kMicrosPerSecond = 1000000;
    if (frequency == 0) return 0;
    const std::uint64_t seconds = counter / frequency;
    // remainder < frequency, so remainder * 1e6 fits while frequency < 1.8e13.
    const std::uint64_t remainder = counter % frequency;
    return seconds * kMicrosPerSecond + remainder * kMicrosPerSecond / frequency;
}
