// The scrambling of every block of the firmware package. Descrambling a block of n bytes:
//   1. for k below (n - 1) / 5 (only when n > 5): exchange the bytes at 5k and 5k + 4;
//   2. for k below n / 2: exchange the bytes at 2k and 2k + 1;
//   3. every byte b becomes ((b - K) mod 256, low nibble) * 16 + b / 16.
// The package builder applies the inverse, in the opposite order.
#pragma once

#include <cstdint>
#include <span>

namespace firmware {

// K: the one-byte package offset shared by the reader and the package builder.
inline constexpr std::uint8_t kPackageOffset = 0x5B;

void descrambleBlock(std::span<std::uint8_t> block);
void scrambleBlock(std::span<std::uint8_t> block);

}  // namespace firmware
