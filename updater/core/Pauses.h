// The fixed pauses and retry counts of the updater's steps. Tests of the logic shorten them; the
// program always uses the defaults.
#pragma once

#include <chrono>

namespace updater {

struct Pauses {
    int retryCount = 15;
    std::chrono::milliseconds afterFailedQuery{500};   // record queries, target queries, enter boot loader
    std::chrono::milliseconds afterFailedFlashStep{1000};   // erase, write, set write address
    std::chrono::milliseconds afterErase{200};
    std::chrono::milliseconds afterFwInfo{10};
    std::chrono::milliseconds beforeVersion{100};
    std::chrono::milliseconds afterLeave{500};
};

// Sleeps for `pause` (at least).
void pauseFor(std::chrono::milliseconds pause);

}  // namespace updater
