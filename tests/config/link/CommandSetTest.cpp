// The command set against a scripted controller: the bytes each operation sends, what it takes from
// the reply, and the rules of profile blocks, profile switching and effect parameters.
#include "LinkTestSupport.h"

#include <numeric>

namespace config_test {
namespace {

using config::CUSBDriver;

// Data bytes 0x80, 0x81, ... so every copied byte shows where it came from.
std::vector<std::uint8_t> Pattern(std::size_t size = 60, std::uint8_t first = 0x80) {
    std::vector<std::uint8_t> bytes(size);
    std::iota(bytes.begin(), bytes.end(), first);
    return bytes;
}

template <std::size_t N>
std::vector<std::uint8_t> Bytes(const std::array<std::uint8_t, N>& a) {
    return {a.begin(), a.end()};
}

class CommandSet : public LinkFixture {
protected:
    void SetUp() override {
        LinkFixture::SetUp();
        controller_ = Plug("controller");
        controller_->SetAnswer([](const CommandReport& c) { return std::vector<CommandReport>{ReplyTo(c, Pattern())}; });
        link_ = &MakeLink();
        ASSERT_TRUE(link_->OpenDevice());
    }

    // Answers commands of one group and key with the given data and all others with the pattern.
    void AnswerWith(std::uint8_t command, std::uint8_t key, std::vector<std::uint8_t> data) {
        controller_->SetAnswer([=](const CommandReport& c) {
            const bool chosen = c[0] == command && c[1] == key;
            return std::vector<CommandReport>{ReplyTo(c, chosen ? data : Pattern())};
        });
    }

    CommandReport LastCommand() const {
        const auto commands = controller_->Commands();
        return commands.empty() ? CommandReport{} : commands.back();
    }

    std::unique_ptr<ScriptedController> controller_;
    CUSBDriver* link_ = nullptr;
};

TEST_F(CommandSet, QueriesSendTheirBytesAndCopyTheirReplies) {
    std::array<std::uint8_t, 20> twenty{};
    ASSERT_EQ(link_->GetStatus(twenty), 0);
    EXPECT_EQ(LastCommand(), Command(0x40, 0x63));
    EXPECT_EQ(Bytes(twenty), Pattern(20));

    ASSERT_EQ(link_->GetInfoRecord(0x0102, twenty), 0);
    EXPECT_EQ(LastCommand(), Command(0x40, 0x21, 0x0102));

    std::array<std::uint8_t, 11> active{};
    ASSERT_EQ(link_->GetActiveEffect(active), 0);
    EXPECT_EQ(LastCommand(), Command(0x52, 0x28));
    EXPECT_EQ(Bytes(active), Pattern(11));

    std::array<std::uint8_t, 18> list{};
    ASSERT_EQ(link_->GetEffectList(list), 0);
    EXPECT_EQ(LastCommand(), Command(0x52, 0x29));
    EXPECT_EQ(Bytes(list), Pattern(18));

    std::array<std::uint8_t, 48> colors{};
    ASSERT_EQ(link_->GetLedColors(3, colors), 0);
    EXPECT_EQ(LastCommand(), Command(0x52, 0xA8, 3));
    EXPECT_EQ(Bytes(colors), Pattern(48));

    std::array<std::uint8_t, 60> table{};
    ASSERT_EQ(link_->GetConversionTable(table), 0);
    EXPECT_EQ(LastCommand(), Command(0x52, 0x70));
    EXPECT_EQ(Bytes(table), Pattern());

    // Requests that carry the caller's 60 bytes and get them replaced.
    std::array<std::uint8_t, 60> request{};
    std::iota(request.begin(), request.end(), std::uint8_t{1});
    ASSERT_EQ(link_->GetPwmConfig(request), 0);
    EXPECT_EQ(LastCommand(), Command(0x52, 0x71, 0, Pattern(60, 1)));
    EXPECT_EQ(Bytes(request), Pattern());
    std::iota(request.begin(), request.end(), std::uint8_t{1});
    ASSERT_EQ(link_->GetLayerMap(request), 0);
    EXPECT_EQ(LastCommand(), Command(0x52, 0xA0, 1, Pattern(60, 1)));
    EXPECT_EQ(Bytes(request), Pattern());

    // The record group: the whole reply, and a record page by its key.
    std::array<std::uint8_t, 64> firmware{};
    ASSERT_EQ(link_->GetFWInfo(firmware), 0);
    EXPECT_EQ(LastCommand(), Command(0x12, 0x00));
    EXPECT_EQ(firmware, ReplyTo(Command(0x12, 0x00), Pattern()));
    std::array<std::uint8_t, 60> page{};
    ASSERT_EQ(link_->GetInfoPage(2, page), 0);
    EXPECT_EQ(LastCommand(), Command(0x12, 0x22));
    EXPECT_EQ(Bytes(page), Pattern());
}

TEST_F(CommandSet, DeviceInfoAndApIndexReadTheirFields) {
    AnswerWith(0x40, 0x20, {0x10, 0x20, 0x30, 0x04, 0x07, 0x01, 20});
    ASSERT_EQ(link_->GetDeviceInfo(), 0);
    EXPECT_EQ(LastCommand(), Command(0x40, 0x20));
    EXPECT_EQ(link_->InfoWord(), 0x04302010u);
    EXPECT_EQ(link_->ListLength(), 0x0107);
    EXPECT_EQ(link_->BlockLength(), 20);

    std::uint16_t index = 0xBEEF;
    AnswerWith(0x12, 0x01, {4, 0x99, 0x34, 0x12});
    ASSERT_EQ(link_->GetAPIndex(index), 0);
    EXPECT_EQ(LastCommand(), Command(0x12, 0x01));
    EXPECT_EQ(index, 0x1234);
    // Only a reply marked 4 gives an index; the exchange itself still succeeds.
    AnswerWith(0x12, 0x01, {3, 0x99, 0x78, 0x56});
    ASSERT_EQ(link_->GetAPIndex(index), 0);
    EXPECT_EQ(index, 0x1234);
}

TEST_F(CommandSet, SettersSendTheirBytes) {
    std::array<std::uint8_t, 18> list{};
    std::iota(list.begin(), list.end(), std::uint8_t{0});
    list[17] = 0xFF;
    std::array<std::uint8_t, 48> colors{};
    std::iota(colors.begin(), colors.end(), std::uint8_t{0x30});
    std::array<std::uint8_t, 60> sixty{};
    std::iota(sixty.begin(), sixty.end(), std::uint8_t{0x40});

    const int results[] = {link_->SetMode(0x80),        link_->SetEventConfig(0x01000001, 1),
                           link_->ResetProfile(),       link_->StoreSettings(),
                           link_->SetActiveEffect(6),   link_->SetEffectList(list),
                           link_->SetColorMode(1),      link_->SetLayerMap(sixty),
                           link_->SetLedColors(2, colors), link_->SetConversionTable(5, sixty),
                           link_->SetPwmConfig(sixty)};
    for (const int result : results) {
        EXPECT_EQ(result, 0);
    }
    const std::vector<CommandReport> expected = {
        Command(0x41, 0x80),
        Command(0x42, 0x00, 0, {0x01, 0x00, 0x00, 0x01, 0x01}),
        Command(0x50, 0x10),
        Command(0x50, 0x55),
        Command(0x51, 0x28, 0, {6}),
        Command(0x51, 0x29, 0, Bytes(list)),
        Command(0x51, 0x30, 0, {1}),
        Command(0x51, 0xA0, 1, Bytes(sixty)),
        Command(0x51, 0xA8, 2, Bytes(colors)),
        Command(0x51, 0x70, 5, Bytes(sixty)),
        Command(0x51, 0x71, 0, Bytes(sixty)),
    };
    EXPECT_EQ(controller_->Commands(), expected);
}

TEST_F(CommandSet, ProfileBlocksCarryTheBlockLengthAtMostSixtyBytes) {
    std::array<std::uint8_t, 520> block;
    std::iota(block.begin(), block.end(), std::uint8_t{0});
    struct Case {
        std::uint8_t blockLength;
        std::size_t carried;
    };
    for (const Case c : {Case{20, 20}, Case{60, 60}, Case{200, 60}, Case{0, 0}}) {
        AnswerWith(0x40, 0x20, {0, 0, 0, 0, 0, 0, c.blockLength});
        ASSERT_EQ(link_->GetDeviceInfo(), 0);
        EXPECT_EQ(link_->ProfileBlockBytes(), c.carried);

        std::array<std::uint8_t, 520> source;
        std::iota(source.begin(), source.end(), std::uint8_t{1});
        ASSERT_EQ(link_->SetProfileBlock(3, source), 0);
        EXPECT_EQ(LastCommand(), Command(0x51, 0x01, 3, Pattern(c.carried, 1))) << int(c.blockLength);

        block.fill(0xAB);
        AnswerWith(0x52, 0x01, Pattern());
        ASSERT_EQ(link_->GetProfileBlock(3, block), 0);
        EXPECT_EQ(LastCommand(), Command(0x52, 0x01, 3));
        std::vector<std::uint8_t> expected = Pattern(c.carried);
        expected.resize(520, 0);
        EXPECT_EQ(Bytes(block), expected) << int(c.blockLength);
    }
    // A block the controller marks empty gives success and a cleared buffer.
    block.fill(0xAB);
    AnswerWith(0x52, 0x01, {0xFF, 1, 2, 3});
    ASSERT_EQ(link_->GetProfileBlock(1, block), 0);
    EXPECT_EQ(Bytes(block), std::vector<std::uint8_t>(520, 0));
}

TEST_F(CommandSet, GetProfileNormalisesTheReply) {
    struct Case {
        std::uint8_t replied;
        std::uint8_t expected;
    };
    for (const Case c : {Case{1, 1}, Case{0, 0}, Case{2, 0}, Case{0xFF, 0}}) {
        AnswerWith(0x52, 0x00, {c.replied});
        std::uint8_t profile = 0x5C;
        ASSERT_EQ(link_->GetProfile(profile), 0);
        EXPECT_EQ(LastCommand(), Command(0x52, 0x00, 0, {0x5C}));
        EXPECT_EQ(profile, c.expected) << int(c.replied);
    }
}

// A controller that takes a few polls to switch its profile; `lostPolls` polls get no answer.
void SwitchSlowly(ScriptedController& controller, int pollsBeforeSwitch, int lostPolls) {
    auto polls = std::make_shared<int>(0);
    auto pending = std::make_shared<std::uint8_t>(0);
    controller.SetAnswer([=](const CommandReport& c) {
        if (c[0] == 0x51 && c[1] == 0x00) {
            *pending = c[4];
            *polls = 0;
            return std::vector<CommandReport>{ReplyTo(c)};
        }
        const int poll = (*polls)++;
        if (poll < lostPolls) {
            return std::vector<CommandReport>{};
        }
        return std::vector<CommandReport>{ReplyTo(c, {poll < pollsBeforeSwitch ? std::uint8_t{0} : *pending})};
    });
}

TEST_F(CommandSet, SelectProfilePollsUntilTheControllerReportsIt) {
    SwitchSlowly(*controller_, 2, 0);
    EXPECT_EQ(link_->SelectProfile(1), 0);
    const std::vector<CommandReport> expected = {Command(0x51, 0x00, 0, {1}), Command(0x52, 0x00),
                                                 Command(0x52, 0x00), Command(0x52, 0x00)};
    EXPECT_EQ(controller_->Commands(), expected);

    // A controller that never switches is polled five times.
    controller_->ClearCommands();
    SwitchSlowly(*controller_, 100, 0);
    EXPECT_EQ(link_->SelectProfile(1), 0);
    EXPECT_EQ(controller_->Commands().size(), 6u);
}

TEST_F(CommandSet, SelectProfileFailsWhenOnePollFails) {
    SwitchSlowly(*controller_, 0, 1);
    EXPECT_EQ(link_->SelectProfile(1), 1);
    EXPECT_EQ(controller_->Commands().size(), 3u) << "the second poll saw the profile and ended the polling";
}

TEST_F(CommandSet, RecordOutputsAreClearedEvenWhenTheExchangeFails) {
    controller_->Silence();
    std::array<std::uint8_t, 64> firmware;
    firmware.fill(0xAB);
    EXPECT_EQ(link_->GetFWInfo(firmware), 1);
    EXPECT_EQ(firmware, CommandReport{});
}

TEST_F(CommandSet, EffectParamsAreSentRawAndReadBackAsLevels) {
    // Entries: code 3 with speed level 7 (out of range), code 0 with brightness 0xFF, code 9 level 2,
    // code 1 level 1 brightness 2, and an empty entry.
    std::array<std::uint8_t, 60> entries = JoinEntries({{
        {3, 7, 0x00, 0, 0, 1, 10, 11, 12, 13, 14, 15},
        {0, 0, 0x00, 0, 0, 0xFF, 1, 2, 3, 4, 5, 6},
        {9, 2, 0x01, 0, 0, 2, 0, 0, 0, 0, 0, 0},
        {1, 1, 0x02, 0, 0, 2, 0xFF, 0, 0, 0, 0, 0},
        {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
    }});
    const auto before = entries;
    ASSERT_EQ(link_->SetEffectParams(1, entries), 0);
    EXPECT_EQ(entries, before) << "the caller keeps its levels";
    CommandReport expected;
    expected.fill(0xFF);
    const std::vector<std::uint8_t> head = {0x51, 0x2C, 0x01, 0x00,
                                            3, 7, 0x00, 0x21, 0xFF, 153, 10, 11, 12, 13, 14, 15,
                                            0, 0, 0x00, 0xFF, 0xFF, 76, 1, 2, 3, 4, 5, 6,
                                            9, 101, 0x01, 48, 0xFF, 2, 0, 0, 0, 0, 0, 0,
                                            1, 55, 0x22, 0xFF, 0xFF, 255, 0xFF, 0, 0, 0, 0, 0};
    std::copy(head.begin(), head.end(), expected.begin());
    EXPECT_EQ(LastCommand(), expected);

    // Reading: the request carries the entries as they are, the reply comes back as levels.
    const std::vector<std::uint8_t> replied = {1, 46, 0x20, 0xFF, 0xFF, 200, 9, 8, 7, 6, 5, 4,
                                               1, 52, 0x20, 0xFF, 0xFF, 255, 0, 0, 0, 0, 0, 0,
                                               1, 10, 0x20, 0xFF, 0xFF, 10, 0, 0, 0, 0, 0, 0,
                                               2, 150, 0x00, 0xFF, 0xFF, 100, 0, 0, 0, 0, 0, 0,
                                               224, 46, 0x00, 0xFF, 0xFF, 200, 0, 0, 0, 0, 0, 0};
    AnswerWith(0x52, 0x2C, replied);
    std::array<std::uint8_t, 60> read{};
    read[0] = 1;
    ASSERT_EQ(link_->GetEffectParams(0, read), 0);
    EXPECT_EQ(LastCommand(), Command(0x52, 0x2C, 0, {1}));
    const std::vector<std::uint8_t> expectedLevels = {1, 3, 0x20, 0xFF, 0xFF, 1, 9, 8, 7, 6, 5, 4,
                                                      1, 2, 0x20, 0xFF, 0xFF, 2, 0, 0, 0, 0, 0, 0,
                                                      1, 4, 0x20, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0,
                                                      2, 0, 0x00, 0xFF, 0xFF, 1, 0, 0, 0, 0, 0, 0,
                                                      224, 46, 0x00, 0xFF, 0xFF, 200, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(Bytes(read), expectedLevels);
}

}  // namespace
}  // namespace config_test
