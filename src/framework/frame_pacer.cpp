#include "framework/frame_pacer.h"

#include <utility>

FramePacer::FramePacer(Clock clock, Sleep sleep, std::uint64_t period)
    : clock_(std::move(clock)), sleep_(std::move(sleep)), period_(period) {}

void FramePacer::wait() {
    std::uint64_t now = clock_();
    if (!started_) {
        // The first iteration ends a period after this one.
        started_ = true;
        deadline_ = now;
        return;
    }
    deadline_ += period_;
    if (now >= deadline_) {
        if (now - deadline_ > period_) {
            deadline_ = now;
            ++resyncs_;
        }
        return;
    }
    while (deadline_ - now > kSpinMargin) {
        const std::uint64_t sleepFor = (deadline_ - now - kSpinMargin) / 1000;
        sleep_(sleepFor > 0 ? static_cast<std::uint32_t>(sleepFor) : 1);
        now = clock_();
        if (now >= deadline_) return;
    }
    while (now < deadline_) {
        sleep_(0);
        now = clock_();
    }
}
