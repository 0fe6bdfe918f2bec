// The two rules both programs apply to a package: which entry fits the connected controller, and
// whether that entry's firmware is newer than the controller's.
#pragma once

#include "firmware/ControllerRecords.h"
#include "firmware/PackageLayout.h"

#include <optional>

namespace firmware {

// Selection results besides an entry index 0-8.
inline constexpr int kNoEntryFits = -1;
inline constexpr int kSignatureDiffers = -2;
// Held by callers before the controller's records have been fetched; never returned here.
inline constexpr int kRecordsNotFetched = -3;
// A forced entry number is 1-9 (the updater's "bin:N"); any other value forces nothing.
inline constexpr int kNotForced = -1;

// The entry for the controller: with the signature equal, the first non-empty entry whose layout id
// equals the controller's, or with a forced number N the entry N - 1 when it is not empty. Empty
// entries are never chosen.
int selectImage(const FirmwareInfoBlock& info, const FwInfo& controller, int forcedNumber = kNotForced);

// The entry whose name the updater shows as the layout: the selected one when it holds an image;
// nothing when no entry is selected (no controller, no fitting layout, another signature).
std::optional<std::size_t> shownLayoutEntry(const FirmwareInfoBlock& info, int selected);

Version entryVersion(const FirmwareImageEntry& entry);

// Major, then minor, then build, each unsigned: newer when greater at the first place they differ.
bool isNewer(const FirmwareImageEntry& entry, const Version& onTarget);

}  // namespace firmware
