#include "framework/clock.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace {

std::uint64_t reference(std::uint64_t counter, std::uint64_t frequency) {
    return static_cast<std::uint64_t>(static_cast<unsigned __int128>(counter) * 1000000u /
                                      frequency);
}

}  // namespace

TEST(CounterToMicroseconds, SmallValuesAreExact) {
    EXPECT_EQ(counter_to_microseconds(0, 1000000000), 0u);
    EXPECT_EQ(counter_to_microseconds(999, 1000000000), 0u);
    EXPECT_EQ(counter_to_microseconds(1000, 1000000000), 1u);
    EXPECT_EQ(counter_to_microseconds(1000000000, 1000000000), 1000000u);
    EXPECT_EQ(counter_to_microseconds(1, 3), 333333u);
    EXPECT_EQ(counter_to_microseconds(2, 3), 666666u);
    EXPECT_EQ(counter_to_microseconds(5, 1000000), 5u);
}

TEST(CounterToMicroseconds, LongUptimeDoesNotOverflow) {
    // Thirty days of a 1 GHz counter: counter * 1e6 would need 72 bits.
    const std::uint64_t thirtyDays = 30ull * 24 * 3600 * 1000000000ull + 123456789;
    EXPECT_EQ(counter_to_microseconds(thirtyDays, 1000000000),
              30ull * 24 * 3600 * 1000000ull + 123456);
    const std::uint64_t top = std::numeric_limits<std::uint64_t>::max();
    EXPECT_EQ(counter_to_microseconds(top, 1000000000), top / 1000);
    EXPECT_EQ(counter_to_microseconds(top, 1000000), top);
}

TEST(CounterToMicroseconds, NonDivisibleFrequenciesMatchWideArithmetic) {
    const std::uint64_t frequencies[] = {3,        1193182,       3579545,  14318180,
                                         10000000, 2400000000ull, 999999937};
    const std::uint64_t counters[] = {1, 12345678901ull,
                                      18000000000000ull,  // ~5 h at 1 GHz, where naive overflows
                                      0x7FFFFFFFFFFFFFFFull,
                                      std::numeric_limits<std::uint64_t>::max() - 1};
    for (std::uint64_t frequency : frequencies) {
        for (std::uint64_t counter : counters) {
            EXPECT_EQ(counter_to_microseconds(counter, frequency), reference(counter, frequency))
                << "counter " << counter << " at " << frequency << " Hz";
        }
    }
}

TEST(CounterToMicroseconds, ZeroFrequencyGivesZero) {
    EXPECT_EQ(counter_to_microseconds(123456, 0), 0u);
}
