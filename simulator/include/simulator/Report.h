// The 64-byte reports the virtual controller exchanges with a host, and the ids it shows on the bus.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace simulator {

inline constexpr std::size_t kReportBytes = 64;
// Data bytes of a report start after the command, key and 16-bit index.
inline constexpr std::size_t kDataAt = 4;
inline constexpr std::size_t kDataBytes = kReportBytes - kDataAt;
using Report = std::array<std::uint8_t, kReportBytes>;

inline constexpr std::uint16_t kVendorId = 0x2516;
inline constexpr std::uint16_t kApplicationProductId = 0x004F;
inline constexpr std::uint16_t kBootLoaderProductId = 0x0050;
inline constexpr std::uint16_t kUsagePage = 0xFF00;
inline constexpr std::uint16_t kUsage = 1;

// Error reply: 0xFF 0xAA, then the command and key of the refused command.
inline constexpr std::uint8_t kErrorReply0 = 0xFF;
inline constexpr std::uint8_t kErrorReply1 = 0xAA;

// A reply repeating bytes 0-3 of the command, data zero.
inline Report echoOf(const Report& command) {
    Report reply{};
    for (std::size_t i = 0; i < kDataAt; ++i) reply[i] = command[i];
    return reply;
}

inline Report errorReplyTo(const Report& command) {
    Report reply{};
    reply[0] = kErrorReply0;
    reply[1] = kErrorReply1;
    reply[2] = command[0];
    reply[3] = command[1];
    return reply;
}

inline bool isErrorReply(const Report& report) {
    return report[0] == kErrorReply0 && report[1] == kErrorReply1;
}

}  // namespace simulator
