// What a person is told about a running update: the phase that a progress percentage belongs to, and
// how long the whole update takes, from the package's number of writes and the measured time of one
// exchange with the controller.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>

namespace updater {

// 0-9 erasing and preparing, 10-79 writing the image, 80-99 writing the version, 100 done.
const char* updatePhase(int percent);

struct UpdateSize {
    std::size_t imageBytes = 0;
    std::size_t versionBlockBytes = 0;
    std::uint8_t bytesPerWrite = 0;
};

// Whole seconds the update takes, at least 1: every write and the queries around them at `perExchange`
// (the 3 ms after each write included), the fixed pauses of the sequence, and the controller's restarts
// into its boot loader and back. 0 when the package gives no data length.
int estimatedUpdateSeconds(const UpdateSize& size, std::chrono::microseconds perExchange);

}  // namespace updater
