#include "tarnlink/VirtualWire.h"

#include "tarnlink/ReportDescriptor.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace tarnlink {
namespace {

constexpr char kMagic[4] = {'T', 'L', 'N', 'K'};

void putU16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

std::uint16_t getU16(std::span<const std::uint8_t> in, std::size_t at) {
    return static_cast<std::uint16_t>(in[at] | (in[at + 1] << 8));
}

}  // namespace

std::vector<std::uint8_t> encodeDeviceDescription(const DeviceDescription& description) {
    std::vector<std::uint8_t> out(kMagic, kMagic + 4);
    out.push_back(kWireFormatVersion);
    out.push_back(0);
    putU16(out, description.vendorId);
    putU16(out, description.productId);
    putU16(out, description.version);
    const std::size_t length = std::min(description.reportDescriptor.size(), kMaxDescriptorBytes);
    out.insert(out.end(), description.reportDescriptor.begin(),
               description.reportDescriptor.begin() + static_cast<std::ptrdiff_t>(length));
    // The descriptor length is implied by the packet length: packets keep their boundaries.
    return out;
}

std::optional<DeviceDescription> decodeDeviceDescription(std::span<const std::uint8_t> packet) {
    if (packet.size() < kDescriptionHeaderBytes || packet.size() > kMaxPacketBytes) return std::nullopt;
    if (std::memcmp(packet.data(), kMagic, 4) != 0 || packet[4] != kWireFormatVersion || packet[5] != 0)
        return std::nullopt;
    DeviceDescription d;
    d.vendorId = getU16(packet, 6);
    d.productId = getU16(packet, 8);
    d.version = getU16(packet, 10);
    d.reportDescriptor.assign(packet.begin() + kDescriptionHeaderBytes, packet.end());
    return d;
}

std::string virtualBusFolder() {
    if (const char* bus = std::getenv("TARNLINK_BUS"); bus && *bus) return bus;
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime)
        return std::string(runtime) + "/tarnlink-bus";
    return {};
}

}  // namespace tarnlink
