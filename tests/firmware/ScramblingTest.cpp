#include "firmware/Scrambling.h"

#include <gtest/gtest.h>

#include <numeric>
#include <set>
#include <vector>

namespace firmware {
namespace {

// A stored byte whose high nibble is 0 and whose low nibble is (t + K) mod 16 descrambles to t * 16,
// so tagging each stored position shows where the byte of every plain position came from.
std::vector<std::size_t> sourcePositions(std::size_t n) {
    std::vector<std::uint8_t> block(n);
    for (std::size_t i = 0; i < n; ++i) block[i] = static_cast<std::uint8_t>((i + kPackageOffset) & 0x0F);
    descrambleBlock(block);
    std::vector<std::size_t> sources;
    for (const std::uint8_t b : block) {
        EXPECT_EQ(b & 0x0F, 0) << "the stored high nibble (0) becomes the low one";
        sources.push_back(b >> 4);
    }
    return sources;
}

TEST(Descramble, ExchangesFivesThenPairs) {
    const struct {
        std::size_t n;
        std::vector<std::size_t> sources;
    } rows[] = {
        {1, {0}},                                       // no exchange at all
        {2, {1, 0}},
        {5, {1, 0, 3, 2, 4}},                           // five or fewer: no exchange of fives
        {6, {1, 4, 3, 2, 5, 0}},
        {10, {1, 4, 3, 2, 5, 0, 7, 6, 9, 8}},           // a multiple of five: the last group stays
        {11, {1, 4, 3, 2, 9, 0, 7, 6, 5, 8, 10}},
    };
    for (const auto& row : rows) EXPECT_EQ(sourcePositions(row.n), row.sources) << "n = " << row.n;
}

TEST(Descramble, MapsEveryByteValueToADistinctOne) {
    std::set<std::uint8_t> seen;
    for (int value = 0; value < 256; ++value) {
        std::uint8_t b = static_cast<std::uint8_t>(value);
        descrambleBlock(std::span(&b, 1));
        seen.insert(b);
    }
    EXPECT_EQ(seen.size(), 256u);
    std::uint8_t offset = kPackageOffset;
    descrambleBlock(std::span(&offset, 1));
    EXPECT_EQ(offset, kPackageOffset >> 4) << "K itself: low nibble 0 after the offset";
}

TEST(Scramble, IsTheInverseForEveryLength) {
    for (std::size_t n = 0; n <= 23; ++n) {
        std::vector<std::uint8_t> plain(n);
        std::iota(plain.begin(), plain.end(), std::uint8_t{0xF3});
        auto block = plain;
        scrambleBlock(block);
        if (n > 1) {
            EXPECT_NE(block, plain) << n;
        }
        descrambleBlock(block);
        EXPECT_EQ(block, plain) << n;
    }
}

}  // namespace
}  // namespace firmware
