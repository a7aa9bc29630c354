#pragma once
// Holds the main loop to a steady rate. The game advances once per loop
// iteration, so its speed is this rate: the pacer must keep it in window
// and full screen alike, whatever the display's refresh does.

#include <cstdint>
#include <functional>

class FramePacer {
public:
    // Microseconds of a monotonic clock.
    using Clock = std::function<std::uint64_t()>;
    // Sleeps about the given milliseconds; 0 only yields the processor.
    using Sleep = std::function<void(std::uint32_t milliseconds)>;

    static constexpr std::uint64_t kPeriod = 33333;  // 30 iterations per second
    // Sleeping stops this far before the deadline and the rest is spun with
    // yields: a sleep may overshoot by a millisecond or so, a spin does not.
    static constexpr std::uint64_t kSpinMargin = 1500;

    FramePacer(Clock clock, Sleep sleep, std::uint64_t period = kPeriod);

    // Forgets the schedule; the next wait() starts a new one from its call.
    void restart() { started_ = false; }

    // Returns at the next deadline, one period after the previous one. An
    // iteration that ran late returns at once and the schedule is kept, so
    // small delays even out; one later than a whole period moves the
    // schedule to now instead of racing through the missed iterations.
    void wait();

    std::uint64_t deadline() const { return deadline_; }
    // How often the schedule was given up for being more than a period late.
    int resyncCount() const { return resyncs_; }

private:
    Clock clock_;
    Sleep sleep_;
    std::uint64_t period_;
    std::uint64_t deadline_ = 0;
    bool started_ = false;
    int resyncs_ = 0;
};
