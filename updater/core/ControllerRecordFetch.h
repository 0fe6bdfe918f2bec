// The controller's records and the package entry that fits them, fetched through a link, and the
// target search that picks the unit to flash behind the application link.
#pragma once

#include "Pauses.h"

#include "CommandChannel.h"
#include "firmware/ControllerRecords.h"
#include "firmware/ImageSelection.h"
#include "firmware/PackageLayout.h"

#include <optional>
#include <string>

namespace updater {

struct ControllerRecords {
    // An entry 0-8, firmware::kNoEntryFits, kSignatureDiffers, or kRecordsNotFetched when a record
    // could not be read.
    int selectedEntry = firmware::kRecordsNotFetched;
    std::optional<firmware::FwInfo> fwInfo;
    std::optional<std::u16string> versionText;   // VerInfo
    std::optional<firmware::Version> application; // APInfo
};

// FWInfo, VerInfo, the APInfo index and APInfo, each with up to pauses.retryCount tries and
// pauses.afterFailedQuery after each failure; stops at the first record that cannot be read.
// `forcedEntry` is the "bin:" entry 0-8 or kNoForcedEntry.
ControllerRecords fetchControllerRecords(CommandChannel& link, const firmware::FirmwareInfoBlock& package,
                                         int forcedEntry, const Pauses& pauses);

struct TargetChoice {
    int targetIndex = 0;
    ControllerRecords records;
};

// With the package's target search flag: tries targets 0, 1, ... that the controller reports and takes
// the first whose records fit an entry (target 0 and the last records when none does). Without it:
// selects the package's target index when the controller has it, then fetches the records.
TargetChoice chooseTarget(CommandChannel& applicationLink, const firmware::FirmwareInfoBlock& package,
                          int forcedEntry, const Pauses& pauses);

}  // namespace updater
