// Reading the firmware package out of the end of an executable file (the "program file").
//
// The sizes in the information block come from the file and are not trusted: the whole package they
// describe must lie inside the file, checked before anything is allocated or read for an entry.
#pragma once

#include "firmware/PackageLayout.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace firmware {

// The three messages of a failed read. Each program shows them its own way.
enum class PackageMessage {
    CannotOpen,      // "Can not open Program file!\n", the application's message box
    CannotRead,      // "Fail to read Program file!", caption "Error", error icon
    NoInformation,   // "Fail to find firmware information!", caption "Error", error icon
};

struct PackageMessageText {
    std::string_view text;
    std::string_view caption;   // empty: the application's own caption
    bool errorIcon;
};
PackageMessageText packageMessageText(PackageMessage message);

class PackageMessageSink {
public:
    virtual ~PackageMessageSink() = default;
    virtual void show(PackageMessage message) = 0;
};

enum class PackageReadStatus {
    Ok,
    CannotOpen,
    CannotRead,         // the file is shorter than an information block, or reading it failed
    NoInformation,      // the marker is missing
    EntryUnreadable,    // an entry lies outside the file or could not be read; shows no message
};

struct PackageEntryBlocks {
    std::vector<std::uint8_t> image;
    std::vector<std::uint8_t> versionBlock;
};

struct FirmwarePackage {
    FirmwareInfoBlock info{};
    // Descrambled blocks of each entry; empty for entries without an image.
    std::array<PackageEntryBlocks, kPackageEntryCount> entries;
};

struct PackageReadResult {
    PackageReadStatus status = PackageReadStatus::CannotOpen;
    // The information block is usable (Ok or EntryUnreadable): the marker was found.
    std::optional<FirmwareInfoBlock> info;
    // The whole package: only when status is Ok.
    std::optional<FirmwarePackage> package;

    bool ok() const { return status == PackageReadStatus::Ok; }
};

// Reads the package at the end of the file; the messages go to `messages`.
PackageReadResult readPackage(const std::filesystem::path& programFile, PackageMessageSink& messages);

// The same on bytes in memory (the whole file), for checks that need no file.
PackageReadResult readPackageBytes(std::span<const std::uint8_t> fileBytes, PackageMessageSink& messages);

}  // namespace firmware
