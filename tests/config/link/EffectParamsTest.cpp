// The speed and brightness conversions of the effect parameters, both ways.
#include "EffectParams.h"

#include <gtest/gtest.h>

#include <array>

namespace {

using config::BrightnessLevel;
using config::RawBrightness;
using config::RawSpeed;
using config::SpeedLevel;

struct SpeedRow {
    std::uint8_t effect;
    std::array<std::uint8_t, 5> raw;
};
constexpr SpeedRow kSpeedRows[] = {
    {1, {60, 55, 49, 44, 38}},     {2, {150, 140, 128, 110, 104}}, {3, {70, 65, 60, 55, 50}},
    {5, {70, 65, 56, 45, 39}},     {6, {72, 66, 60, 51, 42}},      {7, {150, 120, 108, 102, 98}},
    {8, {65, 57, 50, 42, 35}},     {9, {107, 104, 101, 98, 96}},   {10, {123, 115, 108, 104, 100}},
};

TEST(EffectParams, SpeedLevelsMapToRawValuesAndBack) {
    for (const SpeedRow& row : kSpeedRows) {
        for (std::uint8_t level = 0; level < 5; ++level) {
            EXPECT_EQ(RawSpeed(row.effect, level), row.raw[level]) << int(row.effect) << "/" << int(level);
            EXPECT_EQ(SpeedLevel(row.effect, row.raw[level]), level) << int(row.effect) << "/" << int(level);
        }
        // Between two table values the slower level wins; above the fastest value level 0, below the
        // slowest level 4; levels outside 0-4 go out unchanged.
        EXPECT_EQ(SpeedLevel(row.effect, 255), 0);
        EXPECT_EQ(SpeedLevel(row.effect, 0), 4);
        EXPECT_EQ(SpeedLevel(row.effect, static_cast<std::uint8_t>(row.raw[1] + 1)), 1);
        EXPECT_EQ(RawSpeed(row.effect, 5), 5);
        EXPECT_EQ(RawSpeed(row.effect, 0xFF), 0xFF);
    }
    // The examples of effect 1, and effects without speed.
    EXPECT_EQ(SpeedLevel(1, 46), 3);
    EXPECT_EQ(SpeedLevel(1, 52), 2);
    EXPECT_EQ(SpeedLevel(1, 10), 4);
    for (const std::uint8_t effect : {0, 4, 11, 223, 224, 254, 255}) {
        EXPECT_EQ(RawSpeed(effect, 2), 2);
        EXPECT_EQ(SpeedLevel(effect, 46), 46);
    }
}

TEST(EffectParams, BrightnessLevelsMapToRawValuesAndBack) {
    struct Case {
        std::uint8_t effect;
        std::uint8_t level;
        std::uint8_t raw;
    };
    const Case toRaw[] = {{0, 0, 76},  {1, 1, 153}, {3, 2, 255}, {4, 0xFF, 76}, {0, 3, 76},
                          {2, 0, 16},  {2, 1, 64},  {2, 2, 127}, {2, 9, 16},    {5, 2, 2},
                          {9, 0xFF, 0xFF}, {0xFF, 1, 1}};
    for (const Case& c : toRaw) {
        EXPECT_EQ(RawBrightness(c.effect, c.level), c.raw) << int(c.effect) << "/" << int(c.level);
    }
    const Case toLevel[] = {{0, 2, 255}, {1, 1, 254}, {3, 1, 153}, {4, 0, 152}, {0, 0, 0},
                            {2, 2, 255}, {2, 2, 127}, {2, 1, 126}, {2, 1, 64},  {2, 0, 63},
                            {6, 200, 200}};
    for (const Case& c : toLevel) {
        EXPECT_EQ(BrightnessLevel(c.effect, c.raw), c.level) << int(c.effect) << "/" << int(c.raw);
    }
}

TEST(EffectParams, EncodingSetsTheEffectSpecificBytes) {
    struct Case {
        std::array<std::uint8_t, 12> levels;
        std::array<std::uint8_t, 12> wire;
    };
    const Case cases[] = {
        // Code 3: byte 3 is 0x21 whatever the level, speed 7 goes out unchanged.
        {{3, 7, 0, 0, 0, 0, 1, 2, 3, 4, 5, 6}, {3, 7, 0, 0x21, 0xFF, 76, 1, 2, 3, 4, 5, 6}},
        // Code 9: byte 3 follows the speed level; a level outside 0-4 leaves it 0xFF.
        {{9, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, {9, 107, 0, 8, 0xFF, 0, 0, 0, 0, 0, 0, 0}},
        {{9, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, {9, 96, 0, 64, 0xFF, 0, 0, 0, 0, 0, 0, 0}},
        {{9, 6, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, {9, 6, 0, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0}},
        // Code 1: flag 0x20 added to the others.
        {{1, 4, 0x41, 0, 0, 0, 0, 0, 0, 0, 0, 0}, {1, 38, 0x61, 0xFF, 0xFF, 76, 0, 0, 0, 0, 0, 0}},
        // Code 2: its own brightness row.
        {{2, 3, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0}, {2, 110, 0, 0xFF, 0xFF, 64, 0, 0, 0, 0, 0, 0}},
        // Unknown codes: only bytes 3 and 4 change.
        {{223, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}, {223, 1, 2, 0xFF, 0xFF, 5, 6, 7, 8, 9, 10, 11}},
    };
    for (const Case& c : cases) {
        std::array<std::uint8_t, 12> entry = c.levels;
        config::EncodeEffectParamEntry(entry);
        EXPECT_EQ(entry, c.wire) << "effect " << int(c.levels[0]) << " level " << int(c.levels[1]);
    }
}

}  // namespace
