// The firmware check: the firmware package the updater carries against the firmware the connected
// controller reports. Reads the package from the updater's executable, fetches the controller's
// records (FWInfo, VerInfo, APInfo) through a controller link, selects the package entry that fits and
// compares versions. Needs no window; the package's read messages go to the caller's sink.
#pragma once

#include "FirmwareDecision.h"

#include "firmware/ControllerRecords.h"
#include "firmware/ImageSelection.h"
#include "firmware/PackageReader.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace config {
class CUSBDriver;
}

namespace fwstatus {

// "<program folder>Tessaflash/tessaflash": the updater, with the firmware package appended.
std::filesystem::path UpdaterProgramPath(std::string_view programDir);

// Each record is asked for up to `tries` times, with `pause` after each failed try.
struct RecordRetries {
    int tries = 15;
    std::chrono::milliseconds pause{500};
    // Waits the pause (a sleep unless replaced).
    std::function<void(std::chrono::milliseconds)> wait;
};

struct FirmwareCheckResult {
    int result = kCannotTell;                            // kUpdateAvailable, kNoUpdate or kCannotTell
    int selectedEntry = firmware::kRecordsNotFetched;    // 0-8, or negative (ImageSelection.h)
    std::u16string firmwareText;                         // the controller's VerInfo text
    std::u16string updateText;                           // the version text the package brings
};

// The check through `link`: the application link (slot 0) or the boot-loader link (slot 1).
FirmwareCheckResult CheckFirmware(config::CUSBDriver& link, const std::filesystem::path& updaterProgram,
                                  firmware::PackageMessageSink& messages, const RecordRetries& retries = {});

}  // namespace fwstatus
