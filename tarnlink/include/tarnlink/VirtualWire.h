// Wire format of the virtual bus (see tarnlink/VIRTUAL_BUS.md).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tarnlink {

struct DeviceDescription {
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::uint16_t version = 0;
    std::vector<std::uint8_t> reportDescriptor;
};

inline constexpr std::uint8_t kWireFormatVersion = 1;
inline constexpr std::size_t kDescriptionHeaderBytes = 12;
// No packet on the bus is longer: the description with the largest descriptor, or the largest report.
inline constexpr std::size_t kMaxPacketBytes = kDescriptionHeaderBytes + 4096;
// Name of the file in the bus folder whose content ("suspend" or "resume") raises a power event.
inline constexpr const char* kPowerFileName = "power";

std::vector<std::uint8_t> encodeDeviceDescription(const DeviceDescription& description);
// Empty unless the packet is exactly one well-formed description.
std::optional<DeviceDescription> decodeDeviceDescription(std::span<const std::uint8_t> packet);

// The bus folder: $TARNLINK_BUS, else $XDG_RUNTIME_DIR/tarnlink-bus, else empty (no virtual bus).
std::string virtualBusFolder();

}  // namespace tarnlink
