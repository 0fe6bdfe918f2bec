// The 64-byte command report and its reply: byte 0 the command group, byte 1 the key, bytes 2-3 a
// 16-bit little-endian index, bytes 4-63 data. A reply repeats the command's first four bytes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace linkexchange {

inline constexpr std::size_t kReportSize = 64;
inline constexpr std::size_t kReportDataOffset = 4;
inline constexpr std::size_t kReportDataSize = kReportSize - kReportDataOffset;

using CommandReport = std::array<std::uint8_t, kReportSize>;

inline std::uint16_t ReportIndex(std::span<const std::uint8_t, kReportSize> report) {
    return static_cast<std::uint16_t>(report[2] | report[3] << 8);
}

inline void SetReportIndex(std::span<std::uint8_t, kReportSize> report, std::uint16_t index) {
    report[2] = static_cast<std::uint8_t>(index & 0xFF);
    report[3] = static_cast<std::uint8_t>(index >> 8);
}

// A zero-filled command with its group, key and index set.
inline CommandReport MakeCommand(std::uint8_t command, std::uint8_t key, std::uint16_t index = 0) {
    CommandReport report{};
    report[0] = command;
    report[1] = key;
    SetReportIndex(report, index);
    return report;
}

// The data bytes of a report.
inline std::span<std::uint8_t, kReportDataSize> ReportData(CommandReport& report) {
    return std::span<std::uint8_t, kReportSize>(report).subspan<kReportDataOffset>();
}

// Whether a report answers a command: the same group, key and index.
inline bool AnswersCommand(std::span<const std::uint8_t, kReportSize> report,
                           std::span<const std::uint8_t, kReportSize> command) {
    return report[0] == command[0] && report[1] == command[1] && ReportIndex(report) == ReportIndex(command);
}

}  // namespace linkexchange
