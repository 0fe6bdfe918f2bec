// The lighting transfer: round trips through the virtual controller, and the command sequences and
// edge cases of the write and the read against the virtual controller and a scripted one.
#include "LinkTestSupport.h"

#include "EffectEntry.h"
#include "LightingCodes.h"
#include "LightingTransfer.h"
#include "simulator/VirtualController.h"

#include <optional>
#include <random>

namespace config_test {
namespace {

using config::CLightingTransfer;
using config::CUSBDriver;
using config::EffectLayer;
using config::LightingSection;
using config::SettingsBlock;
using namespace config::layer_field;

class RecordingObserver : public config::TransferObserver {
public:
    std::vector<int> progress;
    std::vector<int> reportedProfiles;
    int dispatched = 0;
    void ProgressChanged(int percent) override { progress.push_back(percent); }
    void DispatchPendingMessage() override { ++dispatched; }
    void CurrentProfileReported(int profile) override { reportedProfiles.push_back(profile); }
};

SettingsBlock DefaultBlock() {
    SettingsBlock block{};
    block.profiles[0].Reset();
    return block;
}

LightingSection& Lighting(SettingsBlock& block) { return block.profiles[0].lighting; }

class TransferWithController : public LinkFixture {
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
        ASSERT_EQ(link_->GetDeviceInfo(), 0);
    }
    void TearDown() override {
        links_.clear();
        controller_.reset();
        LinkFixture::TearDown();
    }

    void Write(SettingsBlock& block) {
        CLightingTransfer transfer(*link_, block);
        ASSERT_EQ(link_->SelectProfile(0), 0);
        transfer.WriteProfileLighting(0, 10, 80);
    }
    int Read(SettingsBlock& block, int profile = 0) {
        CLightingTransfer transfer(*link_, block, &observer_);
        return transfer.ReadProfileLighting(profile);
    }
    const simulator::ProfileLighting& Profile0() {
        state_ = controller_->state();
        return state_.live.profiles[0];
    }

    std::unique_ptr<simulator::VirtualController> controller_;
    CUSBDriver* link_ = nullptr;
    RecordingObserver observer_;
    simulator::ControllerState state_;
};

// The fields the transfer carries for a section whose listed effects are all enabled and whose
// multi-layer LEDs use no per-LED colours: the effects of the list on the base layer with LEDs 1-4,
// the selected effect, the layer types, and the multi-layer effects that the map uses.
void ExpectCarriedFieldsEqual(const LightingSection& read, const LightingSection& written) {
    EXPECT_EQ(read.SelectEffect(), written.SelectEffect());
    const std::size_t baseFields[] = {24, 25, 26, 28,                      // static
                                      116, 117, 118, 120, 121,             // breath
                                      109, 110,                            // colour cycle
                                      80, 81, 82, 84, 85, 86, 88, 89,      // star effect
                                      190};                                // customize brightness
    for (const std::size_t offset : baseFields) {
        EXPECT_EQ(read.baseLayer.bytes[offset], written.baseLayer.bytes[offset]) << "base " << offset;
    }
    for (std::size_t led = 0; led < LED_COUNT; ++led) {
        EXPECT_EQ(read.baseLayer.Color(EffectLayer::CustomizeColor(led)),
                  written.baseLayer.Color(EffectLayer::CustomizeColor(led))) << "LED " << led;
        EXPECT_EQ(read.multiLayer.LayerType(led), written.multiLayer.LayerType(led)) << "LED " << led;
        const std::uint8_t code = config::ParameterCodeOfType(written.multiLayer.LayerType(led));
        if (code > config::effect_code::STAR_EFFECT) continue;
        const config::EffectEntries sent = config::BuildEffectEntries(code, written.multiLayer);
        const config::EffectEntries back = config::BuildEffectEntries(code, read.multiLayer);
        EXPECT_EQ(back, sent) << "multi-layer code " << int(code);
    }
    for (const config::ByteField enabled : {STATIC_ENABLED, CUSTOMIZE_ENABLED, STAR_EFFECT_ENABLED, COLOR_CYCLE_ENABLED,
                                            BREATH_ENABLED, OFF_ENABLED}) {
        EXPECT_EQ(read.baseLayer[enabled], 1) << enabled.offset;
    }
    EXPECT_EQ(read.multiLayer[LAYER_ENABLED], 1);
}

LightingSection VariedSection(std::mt19937& random) {
    LightingSection section{};
    section.Reset();
    auto level = [&](int top) { return static_cast<std::uint8_t>(std::uniform_int_distribution<int>(0, top)(random)); };
    auto color = [&] { return std::uniform_int_distribution<std::uint32_t>(0, 0xFFFFFF)(random); };
    section.SetSelectEffect(level(6));
    for (EffectLayer* layer : {&section.baseLayer, &section.multiLayer}) {
        for (const config::ColorField c : {STATIC_COLOR, BREATH_COLOR, STAR_EFFECT_STAR_COLOR, STAR_EFFECT_SKY_COLOR}) {
            layer->SetColor(c, color());
        }
        for (const config::ByteField speed : {BREATH_SPEED, COLOR_CYCLE_SPEED, STAR_EFFECT_SPEED}) (*layer)[speed] = level(4);
        for (const config::ByteField brightness : {STATIC_BRIGHTNESS, BREATH_BRIGHTNESS, COLOR_CYCLE_BRIGHTNESS,
                                                   STAR_EFFECT_BRIGHTNESS, CUSTOMIZE_BRIGHTNESS}) {
            (*layer)[brightness] = level(2);
        }
        for (std::size_t led = 0; led < LED_COUNT; ++led) layer->SetColor(EffectLayer::CustomizeColor(led), color());
    }
    // Layer types that map to a code of their own (type 2 shares its map code with 7; 6 and 12 read back as 0).
    const std::uint8_t types[] = {0, 1, 3, 4, 5, 8, 9, 10, 11};
    for (std::size_t led = 0; led < LED_COUNT; ++led) section.multiLayer.SetLayerType(led, types[level(8)]);
    return section;
}

TEST_F(TransferWithController, DefaultsAndVariedSectionsRoundTrip) {
    std::mt19937 random(20261210);
    for (int round = 0; round < 7; ++round) {
        SettingsBlock written = DefaultBlock();
        if (round > 0) Lighting(written) = VariedSection(random);
        Write(written);
        SettingsBlock read{};  // all zero: every carried value must come from the controller
        ASSERT_EQ(Read(read), 0) << round;
        SCOPED_TRACE(round);
        ExpectCarriedFieldsEqual(Lighting(read), Lighting(written));
        EXPECT_EQ(Lighting(read).frequency.bytes, (std::array<std::uint8_t, 32>{})) << "no valid block on the controller";
    }
    EXPECT_EQ(observer_.progress.front(), 10);
    EXPECT_EQ(observer_.progress.back(), 100);
}

TEST_F(TransferWithController, ActiveEffectFallsBackToTheNextOrLastEnabledEffect) {
    struct Case {
        std::int32_t selected;
        std::vector<config::ByteField> disabled;
        bool multiLayerDisabled;
        std::uint8_t active;
    };
    const Case cases[] = {
        {2, {STAR_EFFECT_ENABLED}, false, 2},                         // star effect off: colour cycle follows
        {3, {COLOR_CYCLE_ENABLED, BREATH_ENABLED}, false, 224},       // the next enabled is the multi-layer
        {6, {OFF_ENABLED}, false, 224},                               // none follows: the last enabled
        {0, {}, false, 0},
        {4, {STATIC_ENABLED, CUSTOMIZE_ENABLED, STAR_EFFECT_ENABLED, COLOR_CYCLE_ENABLED, BREATH_ENABLED, OFF_ENABLED},
         true, 1},                                                    // nothing enabled: the selected effect's code
        {99, {}, false, 0},                                           // an index outside the list selects the first
    };
    for (const Case& c : cases) {
        SettingsBlock block = DefaultBlock();
        Lighting(block).SetSelectEffect(c.selected);
        for (const config::ByteField field : c.disabled) Lighting(block).baseLayer[field] = 0;
        if (c.multiLayerDisabled) Lighting(block).multiLayer[LAYER_ENABLED] = 0;
        Write(block);
        EXPECT_EQ(Profile0().activeEffect[0], c.active) << c.selected;
    }
    SettingsBlock block = DefaultBlock();
    Lighting(block).baseLayer[STAR_EFFECT_ENABLED] = 0;
    Write(block);
    const std::array<std::uint8_t, 18> list{0, 4, 2, 1, 224, 254, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                            0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(Profile0().effectList, list);
}

TEST_F(TransferWithController, ReadSelectsMultiLayerAndKeepsAnUnmarkedFrequencyBlock) {
    SettingsBlock block = DefaultBlock();
    Write(block);
    ASSERT_EQ(link_->SetActiveEffect(224), 0);
    std::array<std::uint8_t, 32> frequency{};
    frequency[0] = 0x18;
    frequency[2] = 0x77;
    ASSERT_EQ(link_->SetProfileBlock(0, frequency), 0);
    SettingsBlock read = DefaultBlock();
    ASSERT_EQ(Read(read), 0);
    EXPECT_EQ(Lighting(read).SelectEffect(), 5);
    EXPECT_EQ(Lighting(read).frequency, Lighting(block).frequency);

    frequency[0] = 0x1B;  // marked: taken
    ASSERT_EQ(link_->SetProfileBlock(0, frequency), 0);
    ASSERT_EQ(Read(read), 0);
    EXPECT_EQ(Lighting(read).frequency.bytes, frequency);
}

TEST_F(TransferWithController, ReadingTheCurrentProfileReadsProfileZero) {
    ASSERT_EQ(link_->SelectProfile(1), 0);
    SettingsBlock read{};
    ASSERT_EQ(Read(read, -1), 0);
    EXPECT_EQ(observer_.reportedProfiles, std::vector<int>{1});
    EXPECT_EQ(controller_->state().live.currentProfile, 0) << "profile 0 is selected and read";
    EXPECT_EQ(observer_.dispatched, 1);

    observer_.progress.clear();
    EXPECT_EQ(Read(read, 1), 1) << "the block has no record for profile 1";
    EXPECT_EQ(observer_.progress, (std::vector<int>{10, 100}));
}

TEST_F(TransferWithController, AnActiveEffectOutsideTheListIsLoggedAndSelectsTheFirst) {
    config::g_debugLog = true;
    ASSERT_EQ(link_->SetActiveEffect(5), 0);
    SettingsBlock read = DefaultBlock();
    Lighting(read).SetSelectEffect(3);
    ASSERT_EQ(Read(read), 0);
    EXPECT_EQ(Lighting(read).SelectEffect(), 0);
    const std::vector<std::string> lines = LogMessages();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Error Get Effect Mode:0, 255"), lines.end());
}

TEST_F(TransferWithController, AFailedReadReportsFailureAndKeepsWhatDidNotArrive) {
    SettingsBlock written = DefaultBlock();
    Lighting(written).baseLayer.SetColor(STATIC_COLOR, 0x010203);
    Write(written);
    // The base-layer parameters of the first effect (STATIC) never come back.
    simulator::FaultRule drop;
    drop.kind = simulator::FaultKind::DropReply;
    drop.command = 0x52;
    drop.key = 0x2C;
    drop.times = 1;
    controller_->addFault(drop);
    SettingsBlock read = DefaultBlock();
    Lighting(read).baseLayer.SetColor(STATIC_COLOR, 0xABCDEF);
    EXPECT_EQ(Read(read), 1);
    EXPECT_EQ(Lighting(read).baseLayer.Color(STATIC_COLOR), 0xABCDEFu);
}

TEST_F(TransferWithController, TheWriteReportsWhetherEveryCommandWasTaken) {
    struct Case {
        const char* name;
        std::optional<std::uint8_t> refusedKey;  // a write (0x51) with this key is refused once
        int expected;
    };
    const Case cases[] = {
        {"all taken", std::nullopt, 0},
        {"effect parameters refused", 0x2C, 1},
        {"effect list refused", 0x29, 1},
        {"layer map refused", 0xA0, 1},
        {"active effect refused", 0x28, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.refusedKey) {
            controller_->addFault({.kind = simulator::FaultKind::ErrorReply, .command = 0x51, .key = c.refusedKey,
                                   .times = 1});
        }
        SettingsBlock block = DefaultBlock();
        CLightingTransfer transfer(*link_, block);
        ASSERT_EQ(link_->SelectProfile(0), 0);
        EXPECT_EQ(transfer.WriteProfileLighting(0, 10, 80), c.expected);
    }
}

// The exact commands of the multi-layer write, from a scripted controller that echoes every command.
class LayerMapCommands : public LinkFixture {
protected:
    void SetUp() override {
        LinkFixture::SetUp();
        device_ = Plug("scripted");
        link_ = &MakeLink();
        ASSERT_TRUE(link_->OpenDevice());
        device_->ClearCommands();
    }
    void TearDown() override {
        links_.clear();
        device_.reset();
        LinkFixture::TearDown();
    }
    std::vector<CommandReport> WriteMap(std::array<std::uint8_t, 4> types) {
        SettingsBlock block = DefaultBlock();
        for (std::size_t led = 0; led < 4; ++led) Lighting(block).multiLayer.SetLayerType(led, types[led]);
        CLightingTransfer(*link_, block).WriteLayerMap(0);
        return device_->Commands();
    }

    std::unique_ptr<ScriptedController> device_;
    CUSBDriver* link_ = nullptr;
};

TEST_F(LayerMapCommands, OneEffectForFourLedsOfTheSameType) {
    const std::vector<CommandReport> commands = WriteMap({3, 3, 3, 3});
    ASSERT_EQ(commands.size(), 4u);
    EXPECT_EQ(commands[0], Command(0x51, 0x30, 0, {1}));
    EXPECT_EQ(commands[1][1], 0x2C);
    EXPECT_EQ(config::ReportIndex(commands[1]), 1);
    EXPECT_EQ(commands[1][4], 3) << "code 3";
    EXPECT_EQ(commands[1][4 + 12], 0xFF) << "one entry only";
    EXPECT_EQ(commands[2], Command(0x51, 0xA0, 1, {0, 1, 0, 0, 3, 3, 3, 3}));
    EXPECT_EQ(commands[3], Command(0x51, 0x28, 0, {224}));
}

TEST_F(LayerMapCommands, PerLedColoursSendTheColoursAndACustomizeEntry) {
    const std::vector<CommandReport> commands = WriteMap({1, 2, 2, 0});
    // Colour mode, static entry, LED colours, customize entry, map, active effect.
    ASSERT_EQ(commands.size(), 6u);
    EXPECT_EQ(commands[1][4], 0) << "static first";
    EXPECT_EQ(commands[1][5], 0xFF) << "no speed field: 0xFF";
    EXPECT_EQ(commands[2][0], 0x51);
    EXPECT_EQ(commands[2][1], 0xA8);
    EXPECT_EQ(commands[3][4], 4) << "code 4";
    EXPECT_EQ(commands[3][5], 0xFF) << "speed 0xFF";
    EXPECT_EQ(commands[3][4 + 6], 0) << "no colour";
    EXPECT_EQ(commands[4], Command(0x51, 0xA0, 1, {0, 1, 0, 0, 0, 5, 5, 254}));
}

}  // namespace
}  // namespace config_test

namespace config_test {
namespace {

TEST_F(LayerMapCommands, WriteAdvancesTheProgressWithinItsShareOnlyWhenThePercentChanges) {
    struct Case {
        double start;
        double span;
        std::vector<int> shown;
    };
    const Case cases[] = {
        {10, 80, {20, 30, 40, 50, 60, 70, 80}},
        {0, 50, {6, 12, 18, 25, 31, 37, 43}},
        {0, 5, {0, 1, 2, 3, 4}},  // 0.625 per effect: repeated percentages are not repainted
    };
    for (const Case& c : cases) {
        RecordingObserver observer;
        SettingsBlock block = DefaultBlock();
        CLightingTransfer(*link_, block, &observer).WriteProfileLighting(0, c.start, c.span);
        EXPECT_EQ(observer.progress, c.shown) << c.start << " " << c.span;
    }
}

TEST_F(LinkFixture, WithoutAControllerTheSequencesRunThroughAndTheReadFails) {
    CUSBDriver& link = MakeLink();
    ASSERT_FALSE(link.OpenDevice());
    SettingsBlock block = DefaultBlock();
    const SettingsBlock before = block;
    RecordingObserver observer;
    CLightingTransfer transfer(link, block, &observer);
    transfer.WriteProfileLighting(0, 10, 80);
    EXPECT_EQ(observer.progress.back(), 80);
    EXPECT_EQ(transfer.ReadProfileLighting(-1), 1);
    EXPECT_EQ(observer.progress.back(), 100);
    EXPECT_TRUE(observer.reportedProfiles.empty());
    // Nothing arrived, so nothing changed (the defaults already hold the enabled marks a read sets).
    EXPECT_EQ(block, before);
}

}  // namespace
}  // namespace config_test
