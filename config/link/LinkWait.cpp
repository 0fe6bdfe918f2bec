#include "LinkWait.h"

#include "PreciseWait.h"

#include <thread>

namespace config {

void WaitMicroseconds(std::int64_t microseconds) {
    if (microseconds <= 0) {
        return;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::microseconds{microseconds};
    std::this_thread::sleep_until(deadline - kLinkWaitSpinMargin);
    // What is left is shorter than the platform wait's own sleep margin, so it only watches the clock.
    platform::PreciseWaitUntil(deadline);
}

}  // namespace config
