// The command set against the virtual controller: every operation round-trips through the controller's
// state, the effect parameters convert both ways, and a profile switch fails when one poll is lost.
#include "LinkTestSupport.h"

#include "simulator/VirtualController.h"

#include <numeric>

namespace config_test {
namespace {

using config::CUSBDriver;

template <std::size_t N>
std::array<std::uint8_t, N> Counting(std::uint8_t first) {
    std::array<std::uint8_t, N> bytes;
    std::iota(bytes.begin(), bytes.end(), first);
    return bytes;
}

class VirtualControllerLink : public LinkFixture {
protected:
    void SetUp() override {
        LinkFixture::SetUp();
        simulator::ControllerOptions options;
        options.busFolder = bus_;
        auto started = simulator::VirtualController::start(options);
        ASSERT_TRUE(started.controller) << started.error;
        controller_ = std::move(started.controller);
        link_ = &MakeLink();
        ASSERT_TRUE(link_->OpenDevice());
    }
    void TearDown() override {
        links_.clear();
        controller_.reset();
        LinkFixture::TearDown();
    }

    simulator::ControllerState State() const { return controller_->state(); }

    std::unique_ptr<simulator::VirtualController> controller_;
    CUSBDriver* link_ = nullptr;
};

TEST_F(VirtualControllerLink, InformationStatusModeAndEvents) {
    ASSERT_EQ(link_->GetDeviceInfo(), 0);
    EXPECT_EQ(link_->InfoWord() >> 24, 1u) << "one information record";
    EXPECT_EQ(link_->ListLength() & 0xFF, 18);
    EXPECT_EQ(link_->ProfileBlockBytes(), simulator::kProfileBlockBytes);

    std::array<std::uint8_t, 20> record{};
    ASSERT_EQ(link_->GetInfoRecord(0, record), 0);
    EXPECT_EQ(record[1], 4) << "four LEDs";

    ASSERT_EQ(link_->SetMode(3), 0);
    ASSERT_EQ(link_->SetEventConfig(0x01000001, 1), 0);
    EXPECT_EQ(State().session.mode, 3);
    EXPECT_EQ(State().session.eventWord, 0x01000001u);
    EXPECT_EQ(State().session.eventByte, 1);

    ASSERT_EQ(link_->SetActiveEffect(3), 0);
    std::array<std::uint8_t, 20> status{};
    ASSERT_EQ(link_->GetStatus(status), 0);
    EXPECT_EQ(status[0], 3) << "mode";
    EXPECT_EQ(status[4], State().live.currentProfile);
    EXPECT_EQ(status[5], 3) << "active effect";
}

TEST_F(VirtualControllerLink, ProfilesSelectStoreResetAndBlocks) {
    ASSERT_EQ(link_->SelectProfile(1), 0);
    EXPECT_EQ(State().live.currentProfile, 1);
    std::uint8_t profile = 0;
    ASSERT_EQ(link_->GetProfile(profile), 0);
    EXPECT_EQ(profile, 1);
    ASSERT_EQ(link_->SelectProfile(0), 0);
    EXPECT_EQ(State().live.currentProfile, 0);

    ASSERT_EQ(link_->GetDeviceInfo(), 0);
    std::array<std::uint8_t, 520> block;
    // A factory profile block is all 0xFF: read as empty.
    block.fill(0xAB);
    ASSERT_EQ(link_->GetProfileBlock(1, block), 0);
    EXPECT_EQ(block, (std::array<std::uint8_t, 520>{}));

    std::array<std::uint8_t, 520> written{};
    std::iota(written.begin(), written.end(), std::uint8_t{1});
    ASSERT_EQ(link_->SetProfileBlock(1, written), 0);
    ASSERT_EQ(link_->GetProfileBlock(1, block), 0);
    std::array<std::uint8_t, 520> expected{};
    std::copy_n(written.begin(), link_->ProfileBlockBytes(), expected.begin());
    EXPECT_EQ(block, expected);

    ASSERT_EQ(link_->SetColorMode(1), 0);
    ASSERT_EQ(link_->StoreSettings(), 0);
    EXPECT_EQ(State().stored, State().live);
    ASSERT_EQ(link_->ResetProfile(), 0);
    EXPECT_EQ(State().live.current(), simulator::defaultProfileLighting());
}

TEST_F(VirtualControllerLink, EffectsColoursAndTablesRoundTrip) {
    std::array<std::uint8_t, 11> active{};
    ASSERT_EQ(link_->SetActiveEffect(9), 0);
    ASSERT_EQ(link_->GetActiveEffect(active), 0);
    EXPECT_EQ(active, (std::array<std::uint8_t, 11>{9}));

    auto list = Counting<18>(0);
    list[17] = 0xFF;
    std::array<std::uint8_t, 18> listBack{};
    ASSERT_EQ(link_->SetEffectList(list), 0);
    ASSERT_EQ(link_->GetEffectList(listBack), 0);
    EXPECT_EQ(listBack, list);

    auto map = Counting<60>(0x10);
    ASSERT_EQ(link_->SetLayerMap(map), 0);
    std::array<std::uint8_t, 60> mapBack{};
    ASSERT_EQ(link_->GetLayerMap(mapBack), 0);
    EXPECT_EQ(mapBack, map);

    for (std::uint16_t group = 0; group < simulator::kLedColorPages; ++group) {
        const auto colors = Counting<48>(static_cast<std::uint8_t>(0x40 * group));
        ASSERT_EQ(link_->SetLedColors(group, colors), 0);
    }
    for (std::uint16_t group = 0; group < simulator::kLedColorPages; ++group) {
        std::array<std::uint8_t, 48> colorsBack{};
        ASSERT_EQ(link_->GetLedColors(group, colorsBack), 0);
        EXPECT_EQ(colorsBack, Counting<48>(static_cast<std::uint8_t>(0x40 * group))) << group;
    }

    const auto table = Counting<60>(0x80);
    ASSERT_EQ(link_->SetConversionTable(0, table), 0);
    std::array<std::uint8_t, 60> tableBack{};
    ASSERT_EQ(link_->GetConversionTable(tableBack), 0);
    EXPECT_EQ(tableBack, table);

    const auto pwm = Counting<60>(0xC0);
    ASSERT_EQ(link_->SetPwmConfig(pwm), 0);
    std::array<std::uint8_t, 60> pwmBack{};
    ASSERT_EQ(link_->GetPwmConfig(pwmBack), 0);
    EXPECT_EQ(pwmBack, pwm);
}

TEST_F(VirtualControllerLink, EffectParamsConvertOnTheWayOutAndBack) {
    // Entries in levels, with the edge cases: code 3 with speed level 7, code 0 with brightness 0xFF.
    const EffectEntryRows levels = {{
        {1, 3, 0x00, 0, 0, 1, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66},
        {2, 4, 0x00, 0, 0, 2, 1, 2, 3, 4, 5, 6},
        {3, 7, 0x00, 0, 0, 0, 7, 8, 9, 10, 11, 12},
        {0, 0, 0x00, 0, 0, 0xFF, 13, 14, 15, 16, 17, 18},
        {9, 1, 0x00, 0, 0, 0, 19, 20, 21, 22, 23, 24},
    }};
    ASSERT_EQ(link_->SetEffectParams(1, JoinEntries(levels)), 0);

    // The controller holds the raw values.
    const simulator::ControllerState state = State();
    const auto& stored = state.live.current().effectParams[1];
    EXPECT_EQ(stored[1], (simulator::EffectEntry{1, 44, 0x20, 0xFF, 0xFF, 153, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66}));
    EXPECT_EQ(stored[2], (simulator::EffectEntry{2, 104, 0x00, 0xFF, 0xFF, 127, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(stored[3], (simulator::EffectEntry{3, 7, 0x00, 0x21, 0xFF, 76, 7, 8, 9, 10, 11, 12}));
    EXPECT_EQ(stored[0], (simulator::EffectEntry{0, 0, 0x00, 0xFF, 0xFF, 76, 13, 14, 15, 16, 17, 18}));
    EXPECT_EQ(stored[9], (simulator::EffectEntry{9, 104, 0x00, 24, 0xFF, 0, 19, 20, 21, 22, 23, 24}));

    // Read back by code: levels again; the out-of-range speed 7 of code 3 is slower than level 4 and
    // the unknown brightness 0xFF of code 0 was sent as level 0.
    std::array<std::uint8_t, 60> request;
    request.fill(0);
    for (std::size_t i = 0; i < levels.size(); ++i) {
        request[12 * i] = levels[i][0];
    }
    ASSERT_EQ(link_->GetEffectParams(1, request), 0);
    EXPECT_EQ(request, JoinEntries({{
                           {1, 3, 0x20, 0xFF, 0xFF, 1, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66},
                           {2, 4, 0x00, 0xFF, 0xFF, 2, 1, 2, 3, 4, 5, 6},
                           {3, 4, 0x00, 0x21, 0xFF, 0, 7, 8, 9, 10, 11, 12},
                           {0, 0, 0x00, 0xFF, 0xFF, 0, 13, 14, 15, 16, 17, 18},
                           {9, 1, 0x00, 24, 0xFF, 0, 19, 20, 21, 22, 23, 24},
                       }}));
}

TEST_F(VirtualControllerLink, FirmwareRecords) {
    const simulator::ControllerState state = State();
    const simulator::Target& target = state.targets.front();
    std::array<std::uint8_t, 64> info;
    info.fill(0xAB);
    ASSERT_EQ(link_->GetFWInfo(info), 0);
    EXPECT_EQ(info[0], 0x12);
    EXPECT_EQ(info[1], 0x00);
    const auto record = target.fwInfoRecord();
    EXPECT_TRUE(std::equal(record.begin(), record.end(), info.begin() + 4));

    std::uint16_t index = 0;
    ASSERT_EQ(link_->GetAPIndex(index), 0);
    EXPECT_EQ(index, target.config.apInfoRecord);

    for (std::uint8_t page = 0; page < 2; ++page) {
        std::array<std::uint8_t, 60> output;
        output.fill(0xAB);
        const auto expected = target.recordPage(page);
        ASSERT_TRUE(expected.has_value());
        ASSERT_EQ(link_->GetInfoPage(page, output), 0);
        EXPECT_TRUE(std::equal(expected->begin(), expected->end(), output.begin())) << int(page);
    }
}

TEST_F(VirtualControllerLink, SelectProfileFailsWhenOnePollIsLost) {
    simulator::FaultRule lostPoll;
    lostPoll.kind = simulator::FaultKind::DropReply;
    lostPoll.command = 0x52;
    lostPoll.key = 0x00;
    lostPoll.times = 1;
    controller_->addFault(lostPoll);
    EXPECT_EQ(link_->SelectProfile(1), 1);
    EXPECT_EQ(State().live.currentProfile, 1) << "the switch itself happened";
    EXPECT_EQ(link_->SelectProfile(0), 0) << "the fault acted once";
}

TEST_F(VirtualControllerLink, ButtonsPostDeviceEvents) {
    QCoreApplication::processEvents();
    owner_.messages.clear();
    controller_->pressEffectButton();
    controller_->pressProfileButton();
    ASSERT_TRUE(WaitUntil([&] { return owner_.messages.size() == 2; }));
    const std::intptr_t open = link_->OpenIndicator();
    EXPECT_EQ(owner_.messages, (std::vector<Message>{{config::WM_DEVICE_EVENT, 0, open},
                                                     {config::WM_DEVICE_EVENT, 1, open}}));
}

}  // namespace
}  // namespace config_test
