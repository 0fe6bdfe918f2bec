#include "ProgressLines.h"

namespace updater {

namespace {
constexpr auto kMinimumGap = std::chrono::milliseconds(500);
}

const char* ProgressLines::phaseOf(int percent) {
    if (percent >= 100) return "done";
    if (percent >= 80) return "writing the version";
    if (percent >= 10) return "writing the image";
    return "erasing";
}

void ProgressLines::report(int percent) {
    const char* phase = phaseOf(percent);
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
