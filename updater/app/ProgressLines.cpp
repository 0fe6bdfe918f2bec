#include "ProgressLines.h"

#include "UpdateProgress.h"

namespace updater {

namespace {
constexpr auto kMinimumGap = std::chrono::milliseconds(500);
}

void ProgressLines::report(int percent) {
    const char* phase = updatePhase(percent);
    const auto now = std::chrono::steady_clock::now();
    const bool newPhase = phase != lastPhase_;
    if (percent == lastPercent_ || (!newPhase && now - lastLine_ < kMinimumGap)) return;
    std::fprintf(out_, "tessaflash: %s %d%%\n", phase, percent);
    std::fflush(out_);
    lastPhase_ = phase;
    lastPercent_ = percent;
    lastLine_ = now;
}

}  // namespace updater
