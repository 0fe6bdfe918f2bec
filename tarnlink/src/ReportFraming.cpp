#include "ReportFraming.h"

#include <algorithm>

namespace tarnlink {

bool normaliseInputReport(const ReportCapabilities& caps, UsagePair collection, std::span<const std::uint8_t> wire,
                          std::span<std::uint8_t> out) {
    const std::size_t reportLength = caps.inputByteLengthOf(collection);
    if (reportLength == 0 || out.size() < reportLength) return false;
    std::uint8_t id = 0;
    if (caps.numbered) {
        if (wire.empty()) return false;
        id = wire[0];
        wire = wire.subspan(1);
    }
    if (!caps.hasInputReport(collection, id)) return false;
    const auto expected = caps.dataLength(ReportType::Input, id);
    if (!expected || wire.size() != *expected) return false;
    std::fill(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(reportLength), std::uint8_t{0});
    out[0] = id;
    std::copy(wire.begin(), wire.end(), out.begin() + 1);
    return true;
}

std::optional<std::vector<std::uint8_t>> buildOutputReport(const ReportCapabilities& caps, UsagePair collection,
                                                           std::span<const std::uint8_t> data) {
    const auto firstId = caps.firstOutputReportIdOf(collection);
    if (!firstId) return std::nullopt;
    const std::uint8_t id = *firstId;
    const auto length = caps.dataLength(ReportType::Output, id);
    if (!length || data.size() > *length) return std::nullopt;
    std::vector<std::uint8_t> report(std::size_t{*length} + 1, 0);
    report[0] = id;
    std::copy(data.begin(), data.end(), report.begin() + 1);
    return report;
}

std::span<const std::uint8_t> wireOutputReport(const ReportCapabilities& caps,
                                               std::span<const std::uint8_t> report) {
    return caps.numbered ? report : report.subspan(1);
}

}  // namespace tarnlink
