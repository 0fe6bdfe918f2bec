// The flash checksum: the sum of the region's 32-bit little-endian words, modulo 2^32. A region whose
// length is not a multiple of four counts its last partial word with the missing high bytes as zero;
// the controller and the updater both use this rule, so their sums agree for any length.
#pragma once

#include <cstdint>
#include <span>

namespace firmware {

std::uint32_t wordSum(std::span<const std::uint8_t> bytes);

}  // namespace firmware
