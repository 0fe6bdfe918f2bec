#include "PreciseWait.h"

#include <gtest/gtest.h>

#include <time.h>

#include <chrono>

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::microseconds;

// Upper bounds only catch waits that plainly never end; a busy shared machine may delay any wake-up.
constexpr auto kHopelesslyLate = std::chrono::seconds(2);

TEST(PreciseWait, NeverReturnsBeforeTheRequestedDuration) {
    // Around the spin margin, below it, above it, and the link's 3 ms pause.
    for (const microseconds requested : {microseconds(1), microseconds(10), microseconds(250), microseconds(999),
                                         microseconds(200), microseconds(201), microseconds(1000), microseconds(1500),
                                         microseconds(3000), microseconds(12000)}) {
        for (int repeat = 0; repeat < 3; ++repeat) {
            const auto start = Clock::now();
            platform::PreciseWaitFor(requested);
            const auto elapsed = Clock::now() - start;
            EXPECT_GE(elapsed, requested) << requested.count() << " us";
            EXPECT_LT(elapsed, kHopelesslyLate) << requested.count() << " us";
        }
    }
}

TEST(PreciseWait, MicrosecondCountWaitsAsLong) {
    const auto start = Clock::now();
    platform::PreciseWaitMicroseconds(3000);
    EXPECT_GE(Clock::now() - start, microseconds(3000));
}

TEST(PreciseWait, UntilReturnsOnlyOnceTheDeadlineHasPassed) {
    for (const microseconds ahead : {microseconds(5), microseconds(800), microseconds(2500), microseconds(8000)}) {
        const auto deadline = Clock::now() + ahead;
        platform::PreciseWaitUntil(deadline);
        EXPECT_GE(Clock::now(), deadline) << ahead.count() << " us ahead";
    }
}

TEST(PreciseWait, NothingToWaitForReturnsAtOnce) {
    const auto start = Clock::now();
    platform::PreciseWaitFor(microseconds(0));
    platform::PreciseWaitFor(microseconds(-5000000));
    platform::PreciseWaitMicroseconds(-1);
    platform::PreciseWaitUntil(start - std::chrono::seconds(10));
    platform::PreciseWaitUntil(Clock::time_point::min());
    EXPECT_LT(Clock::now() - start, kHopelesslyLate);
}

// A wait that spun for its whole length would use about as much processor time as it lasts; this one
// may only spin for the last stretch.
TEST(PreciseWait, SleepsForMostOfALongWait) {
    const auto threadCpuTime = [] {
        timespec now{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
    };
    const auto cpuBefore = threadCpuTime();
    platform::PreciseWaitFor(std::chrono::milliseconds(60));
    const auto cpuUsed = threadCpuTime() - cpuBefore;
    EXPECT_LT(cpuUsed, std::chrono::milliseconds(30));
}

}  // namespace
