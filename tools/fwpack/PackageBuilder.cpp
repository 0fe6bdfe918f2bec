#include "PackageBuilder.h"

#include "firmware/Scrambling.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace fwpack {

namespace {

void appendScrambled(std::vector<std::uint8_t>& out, std::vector<std::uint8_t> block) {
    firmware::scrambleBlock(block);
    out.insert(out.end(), block.begin(), block.end());
}

bool fitsSizeField(const std::vector<std::uint8_t>& block) {
    return block.size() <= std::numeric_limits<std::uint32_t>::max();
}

}  // namespace

BuiltPackage buildPackage(const PackageSource& source) {
    firmware::FirmwareInfoBlock info = source.info;
    std::copy(std::begin(firmware::kPackageMarker), std::end(firmware::kPackageMarker), std::begin(info.marker));
    BuiltPackage built;
    for (std::size_t i = 0; i < firmware::kPackageEntryCount; ++i) {
        firmware::FirmwareImageEntry& entry = info.entries[i];
        entry = {};
        const auto& given = source.entries[i];
        // An entry without an image takes no room, so its version block is left out too.
        if (!given || given->image.empty()) continue;
        if (!fitsSizeField(given->image) || !fitsSizeField(given->versionBlock)) {
            built.error = "entry " + std::to_string(i) + " is larger than 4 GiB";
            return built;
        }
        entry.imageBytes = static_cast<std::uint32_t>(given->image.size());
        entry.versionBlockBytes = static_cast<std::uint32_t>(given->versionBlock.size());
        firmware::storeText(entry.name, given->name);
        entry.layoutId = given->layoutId;
        entry.versionMajor = given->version.major;
        entry.versionMinor = given->version.minor;
        entry.versionBuild = given->version.build;
        appendScrambled(built.bytes, given->image);
        appendScrambled(built.bytes, given->versionBlock);
    }
    std::vector<std::uint8_t> infoBytes(sizeof info);
    std::memcpy(infoBytes.data(), &info, sizeof info);
    appendScrambled(built.bytes, std::move(infoBytes));
    return built;
}

}  // namespace fwpack
