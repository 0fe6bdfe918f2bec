// The flashing sequence the update worker runs once on a target in its boot loader: erase the whole
// area, write the image and compare checksums (up to three image attempts), write the version block
// and read it back (up to two attempts), then leave the boot loader. Any failure erases the version
// area and the image's first page, so the target comes up in its boot loader next time and can be
// flashed again.
#pragma once

#include "Pauses.h"

#include "CommandChannel.h"
#include "firmware/ControllerRecords.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace updater {

struct FlashJob {
    std::span<const std::uint8_t> image;
    std::span<const std::uint8_t> versionBlock;   // the package entry's block, as stored
    std::u16string versionText;                   // the package's version text
    std::uint8_t bytesPerWrite = 0;               // from the package's information block
};

struct FlashOutcome {
    bool succeeded = false;
    std::string failureText;   // empty on success
};

// Progress 0-100, called on the worker's thread.
using ProgressReport = std::function<void(int percent)>;

FlashOutcome runFlashSequence(CommandChannel& link, const FlashJob& job, const ProgressReport& progress,
                              const Pauses& pauses = {});

// The version block as it is written: the entry's block with its first 4 bytes the value 26 and the
// next 26 bytes the first 13 UTF-16 units of the version text (zero-padded); at least 30 bytes long.
std::vector<std::uint8_t> preparedVersionBlock(std::span<const std::uint8_t> block, std::u16string_view versionText);

}  // namespace updater
