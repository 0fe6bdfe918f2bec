// Parser of HID report descriptors: the "capabilities" the library needs of a device.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace tarnlink {

enum class ReportType : std::uint8_t { Input = 0, Output = 1, Feature = 2 };

struct UsagePair {
    std::uint16_t usagePage = 0;
    std::uint16_t usage = 0;
    bool operator==(const UsagePair&) const = default;
};

// One report of a device: its type, id (0 when the device declares no ids) and size in bits.
struct ReportLayout {
    ReportType type = ReportType::Input;
    std::uint8_t id = 0;
    std::uint32_t bits = 0;
};

struct ReportCapabilities {
    // Top-level collections in the order of the descriptor; the first one is the device's usage.
    std::vector<UsagePair> topLevelCollections;
    // The descriptor declares report ids: every report then starts with its id byte.
    bool numbered = false;
    std::vector<ReportLayout> reports;
    // Report id of the first output data item (buttons before values, as the HID capabilities list
    // them); empty when the device has no output data item.
    std::optional<std::uint8_t> firstOutputReportId;
    // The same for each top-level collection on its own (same order as topLevelCollections): a collection
    // is what the client addresses, and its output reports are the ones it can write.
    std::vector<std::optional<std::uint8_t>> collectionFirstOutputReportIds;
    // Input report ids of each top-level collection (same order): only these reach a client that
    // matched the collection.
    std::vector<std::vector<std::uint8_t>> collectionInputReportIds;

    // Largest report of the type in bytes, report id byte included; 0 when the type has no report.
    std::uint16_t byteLength(ReportType type) const;
    // Data bytes (without the id byte) of one report, or empty when the device has no such report.
    std::optional<std::uint16_t> dataLength(ReportType type, std::uint8_t id) const;
    std::vector<std::uint8_t> reportIds(ReportType type) const;
    // Report id of the first output data item of the first top-level collection equal to collection.
    std::optional<std::uint8_t> firstOutputReportIdOf(UsagePair collection) const;
    // Whether input report id belongs to the first top-level collection equal to collection.
    bool hasInputReport(UsagePair collection, std::uint8_t id) const;
    // Longest input report of that collection in bytes, report id byte included; 0 when it has none.
    std::uint16_t inputByteLengthOf(UsagePair collection) const;

private:
    std::optional<std::size_t> collectionIndex(UsagePair collection) const;
};

// Largest report the parser accepts, in data bytes: hidraw's own buffer limit.
inline constexpr std::uint32_t kMaxReportDataBytes = 4096;
// Largest descriptor the kernel hands out (HID_MAX_DESCRIPTOR_SIZE).
inline constexpr std::size_t kMaxDescriptorBytes = 4096;

// Empty for a truncated or malformed descriptor, or one without a top-level collection.
std::optional<ReportCapabilities> parseReportDescriptor(std::span<const std::uint8_t> descriptor);

}  // namespace tarnlink
