#include "firmware/Scrambling.h"

#include <utility>

namespace firmware {

namespace {

// Steps 1 and 2 are their own inverses.
void exchangeFives(std::span<std::uint8_t> block) {
    if (block.size() <= 5) return;
    const std::size_t groups = (block.size() - 1) / 5;
    for (std::size_t k = 0; k < groups; ++k) std::swap(block[5 * k], block[5 * k + 4]);
}

void exchangePairs(std::span<std::uint8_t> block) {
    for (std::size_t k = 0; k < block.size() / 2; ++k) std::swap(block[2 * k], block[2 * k + 1]);
}

}  // namespace

void descrambleBlock(std::span<std::uint8_t> block) {
    exchangeFives(block);
    exchangePairs(block);
    for (std::uint8_t& b : block) {
        const auto shifted = static_cast<std::uint8_t>(b - kPackageOffset);
        b = static_cast<std::uint8_t>(((shifted & 0x0F) << 4) | (b >> 4));
    }
}

void scrambleBlock(std::span<std::uint8_t> block) {
    // A stored byte's high nibble comes back as the low one; its low nibble L comes back as the high
    // one after subtracting K, so L = (plain high nibble + K) mod 16.
    for (std::uint8_t& plain : block) {
        const auto low = static_cast<std::uint8_t>(((plain >> 4) + kPackageOffset) & 0x0F);
        plain = static_cast<std::uint8_t>(((plain & 0x0F) << 4) | low);
    }
    exchangePairs(block);
    exchangeFives(block);
}

}  // namespace firmware
