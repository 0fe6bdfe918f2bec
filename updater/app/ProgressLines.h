// The progress of an update as lines for a person watching a run without a window: the phase and the
// percentage, at most two lines a second, and always when the phase changes.
#pragma once

#include <chrono>
#include <cstdio>

namespace updater {

class ProgressLines {
public:
    explicit ProgressLines(std::FILE* out) : out_(out) {}

    void report(int percent);

private:
    std::FILE* out_;
    const char* lastPhase_ = nullptr;
    int lastPercent_ = -1;
    std::chrono::steady_clock::time_point lastLine_{};
};

}  // namespace updater
