// Conversion between reports as a bus carries them and the library's report contract
// (byte 0 the report id or 0, then the data, padded to the report byte length).
#pragma once

#include "tarnlink/ReportDescriptor.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace tarnlink {

// A bus gives an input report as the device sent it: with its id byte only when the device numbers its
// reports. Fills out (at least the input report byte length of the matched top-level collection) and
// returns true, or returns false when the report has an id that is not the collection's or another length
// than the descriptor gives it: such a report is dropped.
bool normaliseInputReport(const ReportCapabilities& caps, UsagePair collection, std::span<const std::uint8_t> wire,
                          std::span<std::uint8_t> out);

// The output report for length data bytes to the top-level collection the client matched: the report id of
// that collection's first output item, then the data, zero-filled to that report's length. Empty when the
// collection has no output item or the data do not fit.
std::optional<std::vector<std::uint8_t>> buildOutputReport(const ReportCapabilities& caps, UsagePair collection,
                                                           std::span<const std::uint8_t> data);

// Strips the id byte of a report built by buildOutputReport when the device does not number its reports:
// what goes on the wire.
std::span<const std::uint8_t> wireOutputReport(const ReportCapabilities& caps,
                                               std::span<const std::uint8_t> report);

}  // namespace tarnlink
