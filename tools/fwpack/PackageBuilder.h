// Building a firmware package: the inverse of reading one. The blocks are laid out in the order the
// reader walks them and each is scrambled by itself; the result is appended to an executable.
#pragma once

#include "firmware/ControllerRecords.h"
#include "firmware/PackageLayout.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace fwpack {

struct EntrySource {
    std::vector<std::uint8_t> image;
    std::vector<std::uint8_t> versionBlock;
    std::u16string name;
    std::uint16_t layoutId = 0;
    firmware::Version version;
};

struct PackageSource {
    // Every field but the entries and the marker, which the builder fills.
    firmware::FirmwareInfoBlock info{};
    std::array<std::optional<EntrySource>, firmware::kPackageEntryCount> entries;
};

struct BuiltPackage {
    std::vector<std::uint8_t> bytes;   // what goes at the end of the executable
    std::string error;                 // why nothing was built
};

BuiltPackage buildPackage(const PackageSource& source);

}  // namespace fwpack
