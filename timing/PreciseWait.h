// Waits that are never shorter than asked and do not keep a core busy for their whole length.
//
// The controller link waits 3 ms after each write and a few microseconds between steps; a plain
// sleep may come back late but is fine for the long part, while the last stretch needs the clock.
// So a wait sleeps until kPreciseWaitSpinMargin before the target and then yields on
// std::chrono::steady_clock until the target has passed.
#pragma once

#include <chrono>
#include <cstdint>

namespace platform {

// How long before the target the sleep ends and the clock-watching begins. A sleep on Linux comes
// back some tens of microseconds late at most on a quiet machine; the margin absorbs that while a
// 1 ms step delay still sleeps for most of its length.
inline constexpr std::chrono::microseconds kPreciseWaitSpinMargin{200};

// Returns once steady_clock has reached `deadline`; at once when it already has.
void PreciseWaitUntil(std::chrono::steady_clock::time_point deadline);

// Waits at least `duration`; zero and negative durations return at once.
void PreciseWaitFor(std::chrono::microseconds duration);

// The same wait in the unit the device code counts in.
inline void PreciseWaitMicroseconds(std::int64_t microseconds) {
    PreciseWaitFor(std::chrono::microseconds{microseconds});
}

}  // namespace platform
