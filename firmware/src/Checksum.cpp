#include "firmware/Checksum.h"

namespace firmware {

std::uint32_t wordSum(std::span<const std::uint8_t> bytes) {
    std::uint32_t sum = 0;
    for (std::size_t at = 0; at < bytes.size(); at += 4) {
        std::uint32_t word = 0;
        for (std::size_t i = 0; i < 4 && at + i < bytes.size(); ++i)
            word |= static_cast<std::uint32_t>(bytes[at + i]) << (8 * i);
        sum += word;
    }
    return sum;
}

}  // namespace firmware
