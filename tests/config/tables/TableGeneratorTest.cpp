// The table generator against hand-computed values: reload counts and prescalers, the payload
// packing, the convert-table curve at both ends, the block layout and the end marker, and the
// input errors with their texts.
#include "CLEDConvEngine.h"
#include "RecordingTableLink.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using config::CLEDConvEngine;
using config_test::Payload;
using config_test::RecordingLink;
using config_test::RecordingMessages;
using config_test::Sent;

class TableGeneratorTest : public ::testing::Test {
protected:
    void CheckOnly(std::initializer_list<std::size_t> channels) {
        engine_.Fields().channelChecked.fill(false);
        for (const std::size_t c : channels) engine_.Fields().channelChecked[c] = true;
    }
    void SetConvertFields(const char* max, const char* initial, const char* curve, const char* shift, const char* duty) {
        auto& f = engine_.Fields();
        f.maxValue = max;
        f.initialValue = initial;
        f.curve = curve;
        f.shift = shift;
        f.maxDuty = duty;
    }
    // The 256 table bytes of the five blocks sent from `first` on.
    std::vector<std::uint8_t> TableBytes(std::size_t first) const {
        const auto blocks = link_.Of(Sent::Conversion);
        std::vector<std::uint8_t> bytes;
        for (std::size_t k = 0; k < 5; ++k) {
            const std::size_t count = k < 4 ? 60 : 16;
            bytes.insert(bytes.end(), blocks[first + k].data.begin(), blocks[first + k].data.begin() + count);
        }
        return bytes;
    }

    RecordingMessages messages_;
    RecordingLink link_;
    CLEDConvEngine engine_{messages_, &link_};
};

TEST(TableMathTest, ReloadAndPrescalerFromFrequency) {
    using Outcome = config::PwmReload::Outcome;
    struct Case {
        std::int64_t hertz;
        Outcome outcome;
        int prescaler;
        std::int64_t reload;
    };
    const Case cases[] = {
        {1000, Outcome::Ok, 0, 47999},          // 48000 periods
        {100, Outcome::Ok, 7, 59999},           // 480000 periods fit only at prescaler 7
        {733, Outcome::Ok, 0, 65483},           // trunc(65484.3) - 1
        {16000000, Outcome::Ok, 0, 2},          // the fastest accepted
        {16000001, Outcome::ReloadOutOfRange, 0, 1},
        {20000000, Outcome::ReloadOutOfRange, 0, 1},
        {0, Outcome::ReloadOutOfRange, 0, -1},
        {-5, Outcome::ReloadOutOfRange, 0, -1},
        {2, Outcome::PrescalerOverflow, 255, 93749},  // 24,000,000 periods: too slow even at 256
    };
    for (const Case& c : cases) {
        const config::PwmReload r = config::ComputePwmReload(c.hertz);
        EXPECT_EQ(r.outcome, c.outcome) << c.hertz;
        EXPECT_EQ(r.prescaler, c.prescaler) << c.hertz;
        EXPECT_EQ(r.reload, c.reload) << c.hertz;
    }
}

TEST(TableMathTest, CurveLevelsWhereTheRatioIsZeroOrNegative) {
    struct Case {
        const char* what;
        double top, initial, curve;
        double level0, level1, level128, level255;
    };
    const Case cases[] = {
        // R = 180 / 50 + 1 = 4.6: level(1) = 20.30, level(128) = 77.56.
        {"R > 0", 200, 20, 50, 20, 20, 78, 200},
        // R = 0: 0^0 = 1 gives the initial value, 0^t = 0 for t > 0 gives initial - curve = top.
        {"R = 0", 10, 60, 50, 60, 10, 10, 10},
        {"R = 0, negative curve", 110, 60, -50, 60, 110, 110, 110},
        // R = -90 / 50 + 1 = -0.8 has no real power: a straight line, 100 - 90 t.
        {"R < 0", 10, 100, 50, 100, 100, 55, 10},
        {"no curve", 200, 20, 0, 20, 21, 110, 200},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(config::CurveLevel(0, c.top, c.initial, c.curve), c.level0);
        EXPECT_EQ(config::CurveLevel(1, c.top, c.initial, c.curve), c.level1);
        EXPECT_EQ(config::CurveLevel(128, c.top, c.initial, c.curve), c.level128);
        EXPECT_EQ(config::CurveLevel(255, c.top, c.initial, c.curve), c.level255);
    }
}

TEST(TableMathTest, NumberFieldsAreDecimalOrHexWithTheirPrefix) {
    EXPECT_EQ(config::ParseNumberField("1000"), 1000);
    EXPECT_EQ(config::ParseNumberField(" -12x"), -12);
    EXPECT_EQ(config::ParseNumberField("0x1f4"), 500);
    EXPECT_EQ(config::ParseNumberField("12 0x5"), 0) << "\"0x%x\" needs the prefix first";
    EXPECT_EQ(config::ParseNumberField("Error"), 0);
    EXPECT_EQ(config::ParseNumberField(""), 0);
    EXPECT_DOUBLE_EQ(config::ParseRealField("62.5"), 62.5);
    EXPECT_DOUBLE_EQ(config::ParseRealField("x"), 0.0);
}

TEST_F(TableGeneratorTest, PwmReloadOfOneThousandHertz) {
    CheckOnly({0});
    engine_.Fields().frequency[0] = "1000";
    ASSERT_TRUE(engine_.GeneratePwmReload());
    const auto pwm = link_.Of(Sent::Pwm);
    ASSERT_EQ(pwm.size(), 1u);
    Payload expected{};
    expected[0] = 0x01;
    expected[1] = 0x00;
    expected[2] = 0x7F;
    expected[3] = 0xBB;
    EXPECT_EQ(pwm[0].data, expected);
    EXPECT_EQ(engine_.Fields().output, "51 71 00 00 01 00 7f bb ");
    EXPECT_EQ(engine_.Channel(0).maxValue, 47999);
    EXPECT_EQ(engine_.Fields().maxValue, "47999") << "the selected channel's max value is shown";
}

TEST_F(TableGeneratorTest, CheckedChannelsArePackedFromTheStart) {
    CheckOnly({1, 4});
    engine_.Fields().frequency = {"1", "1000", "0", "0", "100", "0"};  // unchecked channels are not read
    ASSERT_TRUE(engine_.GeneratePwmReload());
    Payload expected{};
    const std::uint8_t entries[] = {0x02, 0x00, 0x7F, 0xBB, 0x05, 0x07, 0x5F, 0xEA};
    std::copy(std::begin(entries), std::end(entries), expected.begin());
    ASSERT_EQ(link_.Of(Sent::Pwm).size(), 1u);
    EXPECT_EQ(link_.Of(Sent::Pwm)[0].data, expected);
    EXPECT_EQ(engine_.Fields().output, "51 71 00 00 02 00 7f bb 05 07 5f ea ");
    EXPECT_EQ(engine_.Channel(1).maxValue, 47999);
    EXPECT_EQ(engine_.Channel(4).maxValue, 59999);
    EXPECT_EQ(engine_.Channel(0).maxValue, 0);
    EXPECT_TRUE(messages_.shown.empty());

    // All six: 24 bytes.
    CheckOnly({0, 1, 2, 3, 4, 5});
    engine_.Fields().frequency = {"1000", "1000", "1000", "1000", "1000", "0x3e8"};
    ASSERT_TRUE(engine_.GeneratePwmReload());
    const Payload all = link_.Of(Sent::Pwm).back().data;
    EXPECT_EQ(all[20], 6);
    EXPECT_EQ(all[23], 0xBB);
    EXPECT_TRUE(std::all_of(all.begin() + 24, all.end(), [](std::uint8_t b) { return b == 0; }));
}

TEST_F(TableGeneratorTest, InputErrorsShowTheirTextAndSendNothing) {
    struct Case {
        const char* frequency;
        const char* message;
    };
    const Case cases[] = {
        {"0", "Channel 3's value is wrong! (2 ~ 635535)"},
        {"20000000", "Channel 3's value is wrong! (2 ~ 635535)"},
        {"2", "Channel 3's Prescaler value is over 255!"},
    };
    for (const Case& c : cases) {
        messages_.shown.clear();
        CheckOnly({0, 2, 3});
        engine_.Fields().frequency = {"1000", "1000", c.frequency, "1000", "1000", "1000"};
        EXPECT_FALSE(engine_.GeneratePwmReload());
        EXPECT_EQ(messages_.shown, std::vector<std::string>{c.message});
    }
    EXPECT_TRUE(link_.sent.empty());
    EXPECT_EQ(engine_.Channel(0).maxValue, 0) << "a stopped generation stores nothing";

    SetConvertFields("200", "0", "50", "0", "101");
    EXPECT_FALSE(engine_.GenerateConvertTable());
    SetConvertFields("1", "0", "50", "0", "100");
    EXPECT_FALSE(engine_.GenerateConvertTable());
    SetConvertFields("65536", "0", "50", "0", "100");
    EXPECT_FALSE(engine_.GenerateConvertTable());
    EXPECT_EQ(messages_.shown, (std::vector<std::string>{"Channel 3's Prescaler value is over 255!",
                                                         "Duty's value is 0 ~ 100!",
                                                         "Channel 1's Max value is wrong! (2 ~ 635535)",
                                                         "Channel 1's Max value is wrong! (2 ~ 635535)"}));
    EXPECT_TRUE(link_.sent.empty());
}

TEST_F(TableGeneratorTest, ConvertTableFollowsTheCurveFromInitialToTop) {
    SetConvertFields("200", "20", "50", "0", "100");
    ASSERT_TRUE(engine_.GenerateConvertTable());
    const auto blocks = link_.Of(Sent::Conversion);
    ASSERT_EQ(blocks.size(), 6u) << "five blocks and the end marker";
    for (std::uint16_t k = 0; k < 5; ++k) EXPECT_EQ(blocks[k].page, k);
    EXPECT_EQ(blocks[5].page, 0xFFFF);
    EXPECT_EQ(blocks[5].data, Payload{});
    EXPECT_TRUE(std::all_of(blocks[4].data.begin() + 16, blocks[4].data.end(), [](std::uint8_t b) { return b == 0; }));

    // R = 180 / 50 + 1 = 4.6: level(1) = 20.30, level(128) = 77.56, level(254) = 198.63.
    const std::vector<std::uint8_t> table = TableBytes(0);
    EXPECT_EQ(table[0], 0) << "the shift";
    EXPECT_EQ(table[1], 20);
    EXPECT_EQ(table[128], 78);
    EXPECT_EQ(table[254], 199);
    EXPECT_EQ(table[255], 200);
    EXPECT_TRUE(std::is_sorted(table.begin() + 1, table.end()));
    EXPECT_DOUBLE_EQ(engine_.Channel(0).result, 200.0);

    // Half duty halves the top.
    SetConvertFields("200", "20", "50", "0", "50");
    ASSERT_TRUE(engine_.GenerateConvertTable());
    EXPECT_EQ(TableBytes(6)[255], 100);
}

TEST_F(TableGeneratorTest, AutoShiftRaisesTheShiftUntilTheLevelsFitAByte) {
    SetConvertFields("47999", "0", "50", "0", "100");
    engine_.Fields().autoShift = true;
    ASSERT_TRUE(engine_.GenerateConvertTable());
    const std::vector<std::uint8_t> table = TableBytes(0);
    EXPECT_EQ(table[0], 8) << "47999 / 128 = 375 does not fit, 47999 / 256 = 187.5 does";
    EXPECT_EQ(table[255], 187);
    EXPECT_EQ(engine_.Fields().shift, "8");

    // Without auto-shift the levels saturate at 255.
    SetConvertFields("47999", "0", "50", "0", "100");
    engine_.Fields().autoShift = false;
    ASSERT_TRUE(engine_.GenerateConvertTable());
    EXPECT_EQ(TableBytes(6)[0], 0);
    EXPECT_EQ(TableBytes(6)[255], 255);
}

TEST_F(TableGeneratorTest, AnExtremeShiftIsHandledWithoutOverflowOrALongSearch) {
    struct Case {
        const char* shift;
        bool autoShift;
        std::uint8_t shiftByte;
        std::uint8_t lastByte;
        const char* shiftShown;
    };
    const Case cases[] = {
        {"-2147483648", true, 8, 187, "8"},  // the search climbs from the most negative shift
        {"-2147483648", false, 0, 255, "-2147483648"},
        {"-2147483647", true, 8, 187, "8"},
        {"-2147483647", false, 1, 255, "-2147483647"},
        {"2147483647", false, 0xFF, 0, "2147483647"},
        {"2147483647", true, 0xFF, 0, "2147483647"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.shift) + (c.autoShift ? " auto" : ""));
        link_.sent.clear();
        SetConvertFields("47999", "0", "50", c.shift, "100");
        engine_.Fields().autoShift = c.autoShift;
        ASSERT_TRUE(engine_.GenerateConvertTable());
        const std::vector<std::uint8_t> table = TableBytes(0);
        EXPECT_EQ(table[0], c.shiftByte);
        EXPECT_EQ(table[255], c.lastByte);
        EXPECT_EQ(engine_.Fields().shift, c.shiftShown);
    }
}

// The whole text of one table: each block's line shows the block's own bytes (the last block's 16,
// not the zero fill its report carries), and lines are separated by "\r\n", none after the last.
TEST_F(TableGeneratorTest, OutputTextOfAConvertTable) {
    engine_.SelectChannel(1);  // table index 0x100
    SetConvertFields("10", "60", "50", "0", "100");  // R = 0: every level after the first is 10
    ASSERT_TRUE(engine_.GenerateConvertTable());
    const auto bytes = [](const char* hex, int count) {
        std::string text;
        for (int i = 0; i < count; ++i) text += std::string(hex) + " ";
        return text;
    };
    const std::string lineBreak = "\r\n" + std::string(17, ' ');
    const std::string expected = "51 70 00 01 00 " + bytes("0a", 29) + lineBreak + bytes("0a", 30) + "\r\n" +
                                 "51 70 01 01 " + bytes("0a", 30) + lineBreak + bytes("0a", 30) + "\r\n" +
                                 "51 70 02 01 " + bytes("0a", 30) + lineBreak + bytes("0a", 30) + "\r\n" +
                                 "51 70 03 01 " + bytes("0a", 30) + lineBreak + bytes("0a", 30) + "\r\n" +
                                 "51 70 04 01 " + bytes("0a", 16) + "\r\n" +
                                 "51 70 ff ff ";
    EXPECT_EQ(engine_.Fields().output, expected);
}

TEST_F(TableGeneratorTest, OneClickSendsEveryCheckedTableAndOneEndMarker) {
    engine_.SelectChannel(2);
    engine_.ApplyFrequencies({1000, 1000, 1000, 1000, 100, 1000});
    EXPECT_TRUE(messages_.shown.empty());
    ASSERT_GE(link_.sent.size(), 1u);
    EXPECT_EQ(link_.sent.front().kind, Sent::Pwm) << "the reload table goes first";
    const auto blocks = link_.Of(Sent::Conversion);
    ASSERT_EQ(blocks.size(), 31u);
    for (std::size_t c = 0; c < 6; ++c) {
        for (std::size_t k = 0; k < 5; ++k) EXPECT_EQ(blocks[5 * c + k].page, c * 256 + k);
    }
    EXPECT_EQ(blocks.back().page, 0xFFFF);
    EXPECT_EQ(std::count_if(blocks.begin(), blocks.end(), [](const Sent& s) { return s.page == 0xFFFF; }), 1);
    // Each table's top is its channel's reload count (duty 100 %).
    EXPECT_DOUBLE_EQ(engine_.Channel(4).result, 59999.0);
    EXPECT_EQ(TableBytes(20)[255], 255);
    EXPECT_EQ(engine_.SelectedChannel(), 2u);
    EXPECT_EQ(engine_.Fields().maxValue, "47999");
    const std::string& text = engine_.Fields().output;
    const std::string reloadLine = "51 71 00 00 01 00 7f bb 02 00 7f bb 03 00 7f bb 04 00 7f bb 05 07 5f ea 06 00 7f bb ";
    EXPECT_EQ(text.substr(0, reloadLine.size() + 14), reloadLine + "\r\n51 70 00 00 ")
        << "the reload line comes first and ends before the first table line";
    EXPECT_TRUE(text.ends_with("\r\n51 70 ff ff ")) << "the marker line is the last, with no line end after it";
    // 56 lines, 55 line ends: the reload line, six tables of nine lines (the last block has no break)
    // and the marker line.
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 55);

    // A second run replaces the output rather than adding to it.
    const std::size_t length = text.size();
    engine_.ApplyFrequencies({1000, 1000, 1000, 1000, 100, 1000});
    EXPECT_EQ(engine_.Fields().output.size(), length);

    // Channels 2 and 5 only: their tables and one marker after channel 5.
    link_.sent.clear();
    CheckOnly({1, 4});
    engine_.ApplyFrequencies({0, 1000, 0, 0, 100, 0});
    const auto some = link_.Of(Sent::Conversion);
    ASSERT_EQ(some.size(), 11u);
    EXPECT_EQ(some[0].page, 256u);
    EXPECT_EQ(some[5].page, 4u * 256u);
    EXPECT_EQ(some[10].page, 0xFFFF);
}

TEST_F(TableGeneratorTest, CalculatePicksTheTableIndexFromTheLedColours) {
    auto& colour = engine_.Fields().ledColor;  // R, G, B of LED 0-3
    colour[0] = "100";  // R0
    colour[9] = "50";   // R3: channel 1 averages 75 -> range 1
    colour[4] = "255";  // G1
    colour[10] = "255"; // G3: channel 2 -> 255, range 4
    colour[6] = "60";   // R2: channel 3 -> range 1
    colour[7] = "239";  // G2: channel 4 -> range 3
    colour[8] = "300";  // B2: channel 5 out of range
    engine_.Calculate();
    EXPECT_EQ(engine_.Fields().tableIndex,
              (std::array<std::string, 6>{"0x1", "0x104", "0x201", "0x303", "Error", "0x500"}));

    // Averages of values at the ends of the 64-bit range: a sum beyond it is far out of range, while
    // values that cancel out still average to a level.
    colour[0] = "-9223372036854775808";
    colour[9] = "-9223372036854775808";
    colour[4] = "9223372036854775807";
    colour[10] = "-9223372036854775807";
    engine_.Calculate();
    EXPECT_EQ(engine_.Fields().tableIndex[0], "Error");
    EXPECT_EQ(engine_.Fields().tableIndex[1], "0x100");
}

TEST_F(TableGeneratorTest, ChannelSelectionKeepsEachChannelsParameters) {
    SetConvertFields("300", "5", "40", "2", "150");
    engine_.Fields().autoShift = true;
    engine_.SelectChannel(3);
    EXPECT_EQ(messages_.shown, std::vector<std::string>{"Duty's value is 0 ~ 100!"});
    EXPECT_EQ(engine_.Fields().maxValue, "0");
    EXPECT_EQ(engine_.Fields().curve, "50");
    EXPECT_EQ(engine_.Fields().maxDuty, "100");
    EXPECT_FALSE(engine_.Fields().autoShift);
    engine_.SelectChannel(0);
    EXPECT_EQ(engine_.Fields().initialValue, "5");
    EXPECT_EQ(engine_.Fields().curve, "40");
    EXPECT_EQ(engine_.Fields().shift, "2");
    EXPECT_EQ(engine_.Fields().maxDuty, "150") << "an out-of-range duty is stored all the same";
    EXPECT_TRUE(engine_.Fields().autoShift);
}

TEST_F(TableGeneratorTest, DevicePlugNotices) {
    engine_.OnDevicePlug(true);
    EXPECT_EQ(engine_.Fields().deviceStatus, "Device Plugged");
    ASSERT_EQ(link_.sent.size(), 1u);
    EXPECT_EQ(link_.sent[0].kind, Sent::Mode);
    EXPECT_EQ(link_.sent[0].page, 1);
    engine_.OnDevicePlug(false);
    EXPECT_EQ(engine_.Fields().deviceStatus, "Device Removed");
    EXPECT_EQ(link_.sent.size(), 1u);
}

}  // namespace
