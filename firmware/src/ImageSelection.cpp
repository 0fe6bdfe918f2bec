#include "firmware/ImageSelection.h"

#include <algorithm>

namespace firmware {

namespace {

bool isEmpty(const FirmwareImageEntry& entry) { return entry.imageBytes == 0; }

}  // namespace

int selectImage(const FirmwareInfoBlock& info, const FwInfo& controller, int forcedNumber) {
    if (!std::equal(std::begin(info.signature), std::end(info.signature), controller.signature.begin()))
        return kSignatureDiffers;
    const bool forced = forcedNumber >= 1 && forcedNumber <= static_cast<int>(kPackageEntryCount);
    for (std::size_t i = 0; i < kPackageEntryCount; ++i) {
        const FirmwareImageEntry& entry = info.entries[i];
        if (isEmpty(entry)) continue;
        const bool chosen = forced ? static_cast<int>(i) == forcedNumber - 1 : entry.layoutId == controller.layoutId;
        if (chosen) return static_cast<int>(i);
    }
    return kNoEntryFits;
}

std::optional<std::size_t> shownLayoutEntry(const FirmwareInfoBlock& info, int selected) {
    if (selected < 0 || selected >= static_cast<int>(kPackageEntryCount)) return std::nullopt;
    const auto index = static_cast<std::size_t>(selected);
    if (isEmpty(info.entries[index])) return std::nullopt;
    return index;
}

Version entryVersion(const FirmwareImageEntry& entry) {
    return {entry.versionMajor, entry.versionMinor, entry.versionBuild};
}

bool isNewer(const FirmwareImageEntry& entry, const Version& onTarget) { return entryVersion(entry) > onTarget; }

}  // namespace firmware
