// libFuzzer target: the report-descriptor parser and the report framing built on its result.
#include "ReportFraming.h"
#include "tarnlink/ReportDescriptor.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarnlink;
    const std::span<const std::uint8_t> input(data, size);
    const auto caps = parseReportDescriptor(input);
    if (!caps) return 0;
    for (const auto type : {ReportType::Input, ReportType::Output, ReportType::Feature}) {
        const std::uint32_t length = caps->byteLength(type);
        if (length > kMaxReportDataBytes + 1) std::abort();
        for (const auto id : caps->reportIds(type))
            if (!caps->dataLength(type, id) || *caps->dataLength(type, id) + 1u > length) std::abort();
    }
    // The descriptor's own bytes as an input report and as output data.
    const UsagePair collection = caps->topLevelCollections.front();
    std::array<std::uint8_t, kMaxReportDataBytes + 1> out{};
    if (normaliseInputReport(*caps, collection, input, out) && caps->numbered && out[0] != input[0]) std::abort();
    if (const auto report = buildOutputReport(*caps, collection, input.first(std::min<std::size_t>(size, 64)))) {
        const auto firstId = caps->firstOutputReportIdOf(collection);
        if (!firstId || (*report)[0] != *firstId) std::abort();
        const auto wire = wireOutputReport(*caps, *report);
        if (wire.size() + (caps->numbered ? 0 : 1) != report->size()) std::abort();
    }
    return 0;
}
