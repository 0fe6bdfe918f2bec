#include "UpdateProgress.h"

#include "Pauses.h"

#include <algorithm>

namespace updater {

namespace {

using namespace std::chrono_literals;

// The version block is written at least 30 bytes long and read back in records of 60 bytes.
constexpr std::size_t kMinimumVersionBytes = 30;
constexpr std::size_t kRecordBytes = 60;
// Record fetches, erases, write-address checks, checksum, leave: the exchanges besides the writes.
constexpr std::size_t kOtherExchanges = 16;
// Each restart (into the boot loader and back): the device's absence and the 1 s settle before the
// updater uses it.
constexpr auto kRestart = 1500ms;

std::size_t pieces(std::size_t bytes, std::size_t perPiece) { return (bytes + perPiece - 1) / perPiece; }

}  // namespace

const char* updatePhase(int percent) {
    if (percent >= 100) return "done";
    if (percent >= 80) return "writing the version";
    if (percent >= 10) return "writing the image";
    return "erasing";
}

int estimatedUpdateSeconds(const UpdateSize& size, std::chrono::microseconds perExchange) {
    if (size.bytesPerWrite == 0) return 0;
    const std::size_t versionBytes = std::max(size.versionBlockBytes, kMinimumVersionBytes);
    const std::size_t exchanges = pieces(size.imageBytes, size.bytesPerWrite) + pieces(versionBytes, size.bytesPerWrite) +
                                  pieces(versionBytes, kRecordBytes) + kOtherExchanges;
    const Pauses pauses;
    const auto fixed = pauses.afterErase + pauses.afterFwInfo + pauses.beforeVersion + pauses.afterLeave + 2 * kRestart;
    const auto total = std::chrono::duration_cast<std::chrono::microseconds>(fixed) +
                       perExchange * static_cast<std::int64_t>(exchanges);
    const auto seconds = (total.count() + 999'999) / 1'000'000;
    return static_cast<int>(std::max<std::int64_t>(seconds, 1));
}

}  // namespace updater
