#include "PreciseWait.h"

#include <thread>

namespace platform {

using Clock = std::chrono::steady_clock;

void PreciseWaitUntil(Clock::time_point deadline) {
    const Clock::time_point start = Clock::now();
    if (start >= deadline) {
        return;
    }
    // deadline > start, so stepping back by the margin cannot run below the clock's range.
    const Clock::time_point sleepEnd = deadline - kPreciseWaitSpinMargin;
    if (start < sleepEnd) {
        std::this_thread::sleep_until(sleepEnd);
    }
    // The remaining stretch: give the core away between looks, but never stop looking.
    while (Clock::now() < deadline) {
        std::this_thread::yield();
    }
}

void PreciseWaitFor(std::chrono::microseconds duration) {
    if (duration <= std::chrono::microseconds::zero()) {
        return;
    }
    // The deadline is taken first so the time spent here counts towards the wait. A duration beyond
    // the clock's range waits until the end of the range instead of overflowing.
    const Clock::time_point now = Clock::now();
    const auto room = std::chrono::duration_cast<std::chrono::microseconds>(Clock::time_point::max() - now);
    const Clock::time_point deadline = duration >= room ? Clock::time_point::max() : now + duration;
    PreciseWaitUntil(deadline);
}

}  // namespace platform
