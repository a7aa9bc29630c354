#include "framework/frame_pacer.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

// A simulated clock: sleeps take what they were asked plus an overshoot, a
// yield takes a little time, and the test advances it for the work done.
struct FakeTime {
    std::uint64_t now = 1000000;
    std::uint64_t sleepOvershoot = 100;
    std::uint64_t yieldCost = 20;
    std::uint64_t slept = 0;
    std::uint64_t spun = 0;
    int sleeps = 0;
    int yields = 0;

    FramePacer makePacer() {
        return FramePacer([this] { return now; },
                          [this](std::uint32_t milliseconds) {
                              if (milliseconds == 0) {
                                  ++yields;
                                  spun += yieldCost;
                                  now += yieldCost;
                              } else {
                                  ++sleeps;
                                  const std::uint64_t taken =
                                      milliseconds * 1000ull + sleepOvershoot;
                                  slept += taken;
                                  now += taken;
                              }
                          });
    }
};

constexpr std::uint64_t kPeriod = FramePacer::kPeriod;

}  // namespace

TEST(FramePacer, HoldsThirtyPerSecondWithoutSpinningWholeFrames) {
    for (std::uint64_t overshoot : {std::uint64_t{0}, std::uint64_t{100}, std::uint64_t{1400}}) {
        FakeTime time;
        time.sleepOvershoot = overshoot;
        FramePacer pacer = time.makePacer();
        pacer.wait();
        const std::uint64_t start = time.now;
        for (int i = 1; i <= 300; ++i) {
            time.now += 4000 + (i % 7) * 1000;  // the iteration's own work
            time.spun = 0;
            pacer.wait();
            const std::uint64_t due = start + i * kPeriod;
            ASSERT_GE(time.now, due) << "iteration " << i << ", overshoot " << overshoot;
            ASSERT_LT(time.now, due + time.yieldCost)
                << "iteration " << i << ", overshoot " << overshoot;
            // The spin covers the last stretch only; the rest is slept.
            ASSERT_LE(time.spun, FramePacer::kSpinMargin + time.yieldCost);
        }
        EXPECT_EQ(pacer.resyncCount(), 0);
    }
}

TEST(FramePacer, FirstWaitStartsTheScheduleWithoutWaiting) {
    FakeTime time;
    FramePacer pacer = time.makePacer();
    const std::uint64_t before = time.now;
    pacer.wait();
    EXPECT_EQ(time.now, before);
    pacer.wait();
    EXPECT_GE(time.now, before + kPeriod);

    // After a restart (a new display mode) the schedule starts afresh.
    time.now += 10 * kPeriod;
    pacer.restart();
    const std::uint64_t restarted = time.now;
    pacer.wait();
    EXPECT_EQ(time.now, restarted);
    EXPECT_EQ(pacer.resyncCount(), 0);
}

TEST(FramePacer, SlightlyLateIterationKeepsTheSchedule) {
    FakeTime time;
    FramePacer pacer = time.makePacer();
    pacer.wait();
    const std::uint64_t start = time.now;
    time.now += kPeriod + kPeriod / 2;  // half a period too long
    const std::uint64_t late = time.now;
    pacer.wait();
    EXPECT_EQ(time.now, late) << "a late iteration must not wait";
    time.now += 1000;
    pacer.wait();
    // Back on the original grid: the delay is made up, not carried on.
    EXPECT_GE(time.now, start + 2 * kPeriod);
    EXPECT_LT(time.now, start + 2 * kPeriod + time.yieldCost);
    EXPECT_EQ(pacer.resyncCount(), 0);
}

TEST(FramePacer, FarBehindResynchronisesInsteadOfBursting) {
    FakeTime time;
    FramePacer pacer = time.makePacer();
    pacer.wait();
    time.now += 10 * kPeriod;  // a message box, a stalled disk
    const std::uint64_t resumed = time.now;
    pacer.wait();
    EXPECT_EQ(pacer.resyncCount(), 1);
    EXPECT_EQ(time.now, resumed);
    // The next iterations are a full period apart: no run of catch-up frames.
    for (int i = 1; i <= 5; ++i) {
        time.now += 2000;
        pacer.wait();
        EXPECT_GE(time.now, resumed + i * kPeriod);
        EXPECT_LT(time.now, resumed + i * kPeriod + time.yieldCost);
    }
    EXPECT_EQ(pacer.resyncCount(), 1);
}

TEST(FramePacer, BlockingVsyncPresentDoesNotChangeTheRate) {
    // A 60 Hz present blocks until the next retrace inside each iteration.
    for (std::uint64_t refresh :
         {std::uint64_t{16667}, std::uint64_t{6944}, std::uint64_t{13333}}) {
        FakeTime time;
        FramePacer pacer = time.makePacer();
        pacer.wait();
        const std::uint64_t start = time.now;
        int iterations = 0;
        while (time.now - start < 10000000) {
            time.now += 3000;
            time.now += refresh - time.now % refresh;  // waits for the retrace
            pacer.wait();
            ++iterations;
        }
        EXPECT_NEAR(iterations, 300, 1) << "refresh period " << refresh;
        EXPECT_EQ(pacer.resyncCount(), 0);
    }
}
