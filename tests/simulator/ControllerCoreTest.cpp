// The controller's behaviour without a bus: command edge cases, flash rules, boot decision, LEDs.
#include "simulator/ControllerCore.h"
#include "simulator/Faults.h"
#include "simulator/LedRenderer.h"
#include "simulator/Persistence.h"

#include "firmware/ApplicationImage.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace simulator {
namespace {

Report cmd(std::uint8_t group, std::uint8_t key, std::uint16_t index = 0, std::initializer_list<std::uint8_t> data = {}) {
    Report r{};
    r[0] = group, r[1] = key, r[2] = static_cast<std::uint8_t>(index), r[3] = static_cast<std::uint8_t>(index >> 8);
    std::copy(data.begin(), data.end(), r.begin() + kDataAt);
    return r;
}

Report at32(Report r, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) r[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
    return r;
}

ControllerCore freshCore() {
    Target target(defaultTargetConfig());
    target.programFresh();
    return ControllerCore(defaultControllerSettings(), {target});
}

TEST(ControllerCore, RefusesWhatItDoesNotKnowWithAnErrorReplyNamingTheCommand) {
    auto core = freshCore();
    const Report refused[] = {
        cmd(0x33, 0x00),              // unknown group
        cmd(0x51, 0x00, 0, {2}),      // third profile
        cmd(0x51, 0x01, 2),           // block of a third profile
        cmd(0x52, 0x2C, 2),           // third layer
        cmd(0x51, 0xA0, 0),           // layer map other than index 1
        cmd(0x51, 0xA8, 4),           // colour page past the end
        cmd(0x51, 0x70, 0x0005),      // conversion block 5
        cmd(0x12, 0x05),              // no record key
        cmd(0x12, 0x20 + 0x30),       // record past the version area
        cmd(0x1F, 0),                 // empty write
    };
    for (const auto& c : refused) {
        const auto outcome = core.handle(c);
        ASSERT_TRUE(outcome.reply);
        EXPECT_TRUE(isErrorReply(*outcome.reply)) << int(c[0]) << "." << int(c[1]);
        EXPECT_EQ((*outcome.reply)[2], c[0]);
        EXPECT_EQ((*outcome.reply)[3], c[1]);
    }
    EXPECT_EQ(core.state().live, defaultControllerSettings()) << "nothing changed";
}

TEST(ControllerCore, FlashOnlyClearsBitsAndWritesPastTheEndAreTurnedAway) {
    auto core = freshCore();
    core.powerUp(true);
    ASSERT_EQ(core.state().firmware, Firmware::BootLoader);
    core.handle(at32(cmd(0x1D, 0x00), 8, 1));  // erases the whole first page
    EXPECT_EQ(core.state().targets[0].flash.bytes()[1023], 0xFF);
    core.handle(at32(cmd(0x1E, 0x01), 4, 0));
    core.handle(cmd(0x1F, 1, 0, {0xF0}));
    core.handle(at32(cmd(0x1E, 0x01), 4, 0));
    core.handle(cmd(0x1F, 1, 0, {0x3C}));
    EXPECT_EQ(core.state().targets[0].flash.bytes()[0], 0x30) << "programming ANDs into unerased flash";

    core.handle(at32(cmd(0x1E, 0x01), 4, 65536 - 4));
    const auto past = core.handle(cmd(0x1F, 8));
    EXPECT_EQ((*past.reply)[0], 0x1E);
    EXPECT_EQ((*past.reply)[1], 0x02);
    EXPECT_EQ((*past.reply)[4] | ((*past.reply)[5] << 8), 65536 - 4) << "address unchanged";
    EXPECT_TRUE(isErrorReply(*core.handle(at32(cmd(0x1E, 0x01), 4, 65537)).reply));
    EXPECT_TRUE(isErrorReply(*core.handle(at32(at32(cmd(0x1D, 0x01), 4, 65000), 8, 1000)).reply));
}

TEST(ControllerCore, BootsTheApplicationOnlyFromAnIntactImage) {
    auto core = freshCore();
    EXPECT_EQ(core.state().firmware, Firmware::Application);
    auto& target = core.state().targets[0];
    const std::uint32_t start = target.config.fwInfo.imageStart;
    const std::uint8_t flipped[] = {0x00};
    target.flash.program(start + 100, flipped);  // one damaged byte in the body
    core.powerUp(false);
    EXPECT_EQ(core.state().firmware, Firmware::BootLoader);
    target.flash.erase(0, target.flash.size());
    core.powerUp(false);
    EXPECT_EQ(core.state().firmware, Firmware::BootLoader);
    EXPECT_TRUE(target.version().isNone()) << "an erased APInfo reads 0xFF 0xFF";
}

// Every record that shows the firmware tells the same version: APInfo's numbers and VerInfo's text.
TEST(ControllerCore, FreshFirmwareShowsOneVersionInEveryRecord) {
    const struct {
        firmware::Version version;
        std::u16string text;
    } rows[] = {
        {{1, 0, 100}, u"V1.00"},
        {{1, 1, 0}, u"V1.10"},
        {{2, 12, 3}, u"V2.12"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(firmware::versionText(row.version));
        TargetConfig config = defaultTargetConfig();
        config.freshVersion = row.version;
        Target target(config);
        target.programFresh();
        EXPECT_EQ(target.version(), row.version);
        const auto verInfo = target.recordPage(0);
        ASSERT_TRUE(verInfo);
        EXPECT_EQ(firmware::decodeVerInfo(*verInfo), row.text);
    }
}

TEST(ControllerCore, EffectButtonDoesNothingWithoutAListOrInTheBootLoader) {
    auto core = freshCore();
    core.state().live.current().effectList.fill(kNoEffect);
    EXPECT_FALSE(core.pressEffectButton());
    core.powerUp(true);
    EXPECT_FALSE(core.pressEffectButton());
}

TEST(LedRenderer, ShowsStaticPerLedOffAndMultiLayerAtTheirBrightness) {
    ProfileLighting p = defaultProfileLighting();
    p.effectParams[0][kEffectStatic][kEntryBrightness] = 153;  // middle level
    EXPECT_EQ(renderLeds(p, 0.0)[0], (Rgb{153, 153, 153}));

    p.activeEffect[0] = kEffectCustomize;
    p.ledColors[0] = {255, 0, 0, 0, 255, 0, 0, 0, 255, 10, 20, 30};
    const auto custom = renderLeds(p, 0.0);
    EXPECT_EQ(custom[0], (Rgb{255, 0, 0}));
    EXPECT_EQ(custom[3], (Rgb{10, 20, 30}));

    p.activeEffect[0] = kEffectOff;
    EXPECT_EQ(renderLeds(p, 1.0)[2], Rgb{});

    p.activeEffect[0] = kEffectMultiLayer;
    p.layerMap[4] = kEffectStatic;
    p.layerMap[5] = kEffectSingleKey;  // the per-LED colours in a layer
    p.layerMap[6] = kEffectOff;
    p.layerMap[7] = kEffectBreath;
    p.effectParams[1][kEffectStatic][kEntryColor1] = 0;  // layer 1 has its own static colour
    const auto layered = renderLeds(p, 0.0);
    EXPECT_EQ(layered[0], (Rgb{0, 255, 255}));
    EXPECT_EQ(layered[1], (Rgb{0, 255, 0}));
    EXPECT_EQ(layered[2], Rgb{});
    EXPECT_EQ(layered[3], Rgb{}) << "breathing starts dark";
}

TEST(LedRenderer, BreathingFollowsItsRawSpeed) {
    ProfileLighting p = defaultProfileLighting();
    p.activeEffect[0] = kEffectBreath;
    p.effectParams[0][kEffectBreath][kEntrySpeed] = 60;  // level 0: fastest
    const auto fastPeak = renderLeds(p, 0.75)[0];         // half of the 1.5 s period
    p.effectParams[0][kEffectBreath][kEntrySpeed] = 38;  // level 4: slowest
    const auto slowAtSameTime = renderLeds(p, 0.75)[0];
    EXPECT_EQ(fastPeak, (Rgb{255, 255, 255}));
    EXPECT_LT(slowAtSameTime.r, 60);
}

TEST(FaultRules, ParseAndDescribe) {
    const auto r = parseFaultRule("delay:52.28,skip=2,times=3,ms=800");
    ASSERT_TRUE(r.rule) << r.error;
    EXPECT_EQ(r.rule->kind, FaultKind::DelayReply);
    EXPECT_EQ(r.rule->command, 0x52);
    EXPECT_EQ(r.rule->key, 0x28);
    EXPECT_EQ(r.rule->skip, 2u);
    EXPECT_EQ(r.rule->times, 3u);
    EXPECT_EQ(r.rule->delay.count(), 800);
    EXPECT_EQ(describeFaultRule(*r.rule), "delay:52.28,skip=2,times=3,ms=800");
    for (const char* bad : {"", "drop", "melt:1f", "drop:zz", "drop:1f.", "drop:1f,times", "drop:1f,often=2", "drop:100"})
        EXPECT_FALSE(parseFaultRule(bad).rule) << bad;

    FaultPlan plan;
    plan.add(*parseFaultRule("drop:1f,skip=1,times=2").rule);
    const Report write = cmd(0x1F, 4);
    std::vector<std::size_t> acted;
    for (int i = 0; i < 5; ++i) acted.push_back(plan.take(write).size());
    EXPECT_EQ(acted, (std::vector<std::size_t>{0, 1, 1, 0, 0}));
}

TEST(StateFile, RoundTripsAndSetsAsideWhatItCannotRead) {
    auto core = freshCore();
    core.state().stored.currentProfile = 1;
    core.state().stored.conversionTables[0x0102][5] = 42;
    core.state().stored.profiles[1].effectParams[1][9][1] = 99;
    const auto bytes = encodeState(core.state().stored, core.state().targets);
    const auto decoded = decodeState(bytes);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->settings, core.state().stored);
    ASSERT_EQ(decoded->flashes.size(), 1u);
    EXPECT_TRUE(std::equal(decoded->flashes[0].bytes.begin(), decoded->flashes[0].bytes.end(),
                           core.state().targets[0].flash.bytes().begin()));
    for (std::size_t cut : {std::size_t{0}, std::size_t{7}, std::size_t{30}, bytes.size() - 1})
        EXPECT_FALSE(decodeState(std::span(bytes).first(cut))) << cut;

    const auto folder = std::filesystem::temp_directory_path() / ("vctrl-state-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const std::string path = (folder / "c.state").string();
    std::ofstream(path, std::ios::binary) << "not a state";
    const auto loaded = loadStateFile(path);
    EXPECT_EQ(loaded.status, LoadStatus::Unreadable);
    EXPECT_TRUE(std::filesystem::exists(path + ".bad"));
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_FALSE(saveStateFile(path, core.state().stored, core.state().targets));
    EXPECT_EQ(loadStateFile(path).status, LoadStatus::Loaded);

    // A target whose geometry changed starts with factory firmware; the others keep theirs.
    std::vector<Target> changed{Target(defaultTargetConfig())};
    changed[0].config.fwInfo.layoutId = 9;
    EXPECT_EQ(restoreFlash(changed, decoded->flashes), (std::vector<std::size_t>{0}));
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace simulator
