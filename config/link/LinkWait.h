// The busy-waits of the controller links (3 ms after each write, the step delay, the polls of a
// profile switch), made cheap: the thread sleeps until shortly before the target and watches the clock
// only for the last stretch, so a wait is never shorter than asked and costs little processor time.
#pragma once

#include <chrono>
#include <cstdint>

namespace config {

// How long before the target the sleep ends. A sleep on Linux comes back some tens of microseconds
// late at most on a quiet machine; the margin absorbs that without spinning for long.
inline constexpr std::chrono::microseconds kLinkWaitSpinMargin{200};

// Waits at least `microseconds`; zero and negative counts return at once.
void WaitMicroseconds(std::int64_t microseconds);

}  // namespace config
