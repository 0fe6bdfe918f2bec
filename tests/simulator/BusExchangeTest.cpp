// The virtual controller through libtarnlink, as the configuration program and the updater see it.
#include "HostLink.h"

#include "firmware/ApplicationImage.h"
#include "firmware/Checksum.h"
#include "simulator/Lighting.h"

#include <ctime>
#include <thread>

namespace simulator::test {
namespace {

using namespace std::chrono_literals;

class ApplicationBus : public BusTest {
protected:
    void SetUp() override {
        BusTest::SetUp();
        controller_ = startController(options());
        ASSERT_TRUE(controller_);
        app_ = std::make_unique<HostLink>(0, kApplicationProductId);
        ASSERT_TRUE(app_->waitPresent(true));
    }
    void TearDown() override {
        app_.reset();
        controller_.reset();
        BusTest::TearDown();
    }
    std::unique_ptr<VirtualController> controller_;
    std::unique_ptr<HostLink> app_;
};

TEST_F(ApplicationBus, DeviceInformationStatusAndModeAnswerWithTheirOwnBytes) {
    const Report info = app_->ask(command(0x40, 0x20));
    EXPECT_EQ(info[kDataAt + 3], 1) << "one information record";
    EXPECT_EQ(info[kDataAt + 4], kEffectListBytes);
    EXPECT_EQ(info[kDataAt + 6], kProfileBlockBytes);
    EXPECT_LE(info[kDataAt + 6], 60);
    EXPECT_EQ(app_->ask(command(0x40, 0x21, 0))[kDataAt + 1], kLedCount);
    EXPECT_TRUE(isErrorReply(*app_->exchange(command(0x40, 0x21, 1))));

    app_->ask(command(0x41, 0x80));
    app_->ask(command(0x42, 0x00, 0, {0x01, 0x00, 0x00, 0x01, 0x01}));
    app_->ask(command(0x51, 0x00, 0, {1}));
    app_->ask(command(0x51, 0x28, 0, {kEffectBreath}));
    const Report status = app_->ask(command(0x40, 0x63));
    EXPECT_EQ(status[kDataAt + 0], 0x80) << "mode";
    EXPECT_EQ(status[kDataAt + 4], 1) << "current profile";
    EXPECT_EQ(status[kDataAt + 5], kEffectBreath) << "active effect";
    const auto state = controller_->state();
    EXPECT_EQ(state.session.eventWord, 0x01000001u);
    EXPECT_EQ(state.session.eventByte, 1);
}

TEST_F(ApplicationBus, StoredValuesReadBackPerProfileAndRawEffectParametersArePreserved) {
    app_->ask(command(0x51, 0x00, 0, {1}));
    EXPECT_EQ(app_->ask(command(0x52, 0x00))[kDataAt], 1);

    // Raw values that no level maps to come back unchanged.
    Report params = command(0x51, 0x2C, 1);
    std::fill(params.begin() + kDataAt, params.end(), 0xFF);
    const std::uint8_t entry[12] = {kEffectStars, 7, 0x00, 0x21, 0xFF, 200, 1, 2, 3, 4, 5, 6};
    std::copy(std::begin(entry), std::end(entry), params.begin() + kDataAt);
    app_->ask(params);
    Report request = command(0x52, 0x2C, 1);
    std::fill(request.begin() + kDataAt, request.end(), 0xFF);
    request[kDataAt] = kEffectStars;
    const Report got = app_->ask(request);
    EXPECT_TRUE(std::equal(std::begin(entry), std::end(entry), got.begin() + kDataAt));
    EXPECT_TRUE(std::all_of(got.begin() + kDataAt + 12, got.end(), [](std::uint8_t b) { return b == 0xFF; }));
    // The base layer keeps its own entry.
    request[2] = 0;
    EXPECT_EQ(app_->ask(request)[kDataAt + 1], 60) << "factory raw speed of stars, level 2";

    Report list = command(0x51, 0x29);
    std::fill(list.begin() + kDataAt, list.begin() + kDataAt + 18, 0xFF);
    list[kDataAt] = kEffectOff;
    list[kDataAt + 1] = kEffectBreath;
    app_->ask(list);
    EXPECT_TRUE(std::equal(list.begin() + 4, list.begin() + 22, app_->ask(command(0x52, 0x29)).begin() + 4));

    const Report colors = command(0x51, 0xA8, 0, {255, 0, 0, 0, 255, 0, 0, 0, 255, 9, 9, 9});
    app_->ask(colors);
    EXPECT_TRUE(std::equal(colors.begin() + 4, colors.begin() + 52, app_->ask(command(0x52, 0xA8, 0)).begin() + 4));

    const Report map = command(0x51, 0xA0, 1, {0, 1, 0, 0, 0, 5, 5, 254});
    app_->ask(map);
    EXPECT_TRUE(std::equal(map.begin() + 4, map.end(), app_->ask(command(0x52, 0xA0, 1, {0, 1})).begin() + 4));

    Report block = command(0x51, 0x01, 1);
    for (std::size_t i = 0; i < kDataBytes; ++i) block[kDataAt + i] = static_cast<std::uint8_t>(i + 1);
    app_->ask(block);
    const Report blockBack = app_->ask(command(0x52, 0x01, 1));
    EXPECT_TRUE(std::equal(block.begin() + 4, block.begin() + 4 + kProfileBlockBytes, blockBack.begin() + 4));
    EXPECT_EQ(blockBack[kDataAt + kProfileBlockBytes], 0) << "only the block length is kept";
    EXPECT_EQ(app_->ask(command(0x52, 0x01, 0))[kDataAt], 0xFF) << "profile 0 has never been written";

    const Report pwm = command(0x51, 0x71, 0, {1, 2, 3, 4, 5});
    app_->ask(pwm);
    EXPECT_TRUE(std::equal(pwm.begin() + 4, pwm.end(), app_->ask(command(0x52, 0x71, 0, {1})).begin() + 4));
    const Report table = command(0x51, 0x70, 0x0000, {9, 8, 7});
    app_->ask(table);
    app_->ask(command(0x51, 0x70, 0xFFFF));
    EXPECT_EQ(app_->ask(command(0x52, 0x70, 0))[kDataAt + 2], 7);

    // Settings belong to the current profile.
    app_->ask(command(0x51, 0x00, 0, {0}));
    EXPECT_EQ(app_->ask(command(0x52, 0x29))[kDataAt], kEffectStatic);
}

TEST_F(ApplicationBus, StoreKeepsSettingsOverARestartAndResetRestoresTheProfile) {
    app_->ask(command(0x51, 0x28, 0, {kEffectColorCycle}));
    app_->ask(command(0x51, 0x30, 0, {1}));
    app_->ask(command(0x50, 0x55));
    app_->ask(command(0x51, 0x28, 0, {kEffectOff}));  // not stored: gone after the restart

    app_.reset();
    controller_.reset();
    controller_ = startController(options());
    app_ = std::make_unique<HostLink>(0, kApplicationProductId);
    ASSERT_TRUE(app_->waitPresent(true));
    EXPECT_EQ(app_->ask(command(0x52, 0x28))[kDataAt], kEffectColorCycle);
    EXPECT_EQ(app_->ask(command(0x52, 0x30))[kDataAt], 1);

    app_->ask(command(0x50, 0x10, 0, {0}));
    EXPECT_EQ(app_->ask(command(0x52, 0x28))[kDataAt], kEffectStatic);
}

// Two controllers started on one state file (two runs at once): the second keeps nothing, says so, and
// never writes over what the first one stored, whichever ends last.
TEST_F(ApplicationBus, ASecondControllerOnTheSameStateFileLeavesItToTheFirst) {
    ControllerOptions o = options();
    o.name = "second";
    auto second = VirtualController::start(std::move(o));
    ASSERT_TRUE(second.controller) << second.error;
    ASSERT_EQ(second.warnings.size(), 1u);
    EXPECT_NE(second.warnings[0].find("in use by another virtual controller"), std::string::npos) << second.warnings[0];

    app_->ask(command(0x51, 0x28, 0, {kEffectColorCycle}));
    app_->ask(command(0x50, 0x55));
    app_.reset();
    controller_.reset();
    second.controller.reset();

    controller_ = startController(options());
    app_ = std::make_unique<HostLink>(0, kApplicationProductId);
    ASSERT_TRUE(app_->waitPresent(true));
    EXPECT_EQ(app_->ask(command(0x52, 0x28))[kDataAt], kEffectColorCycle);
}

TEST_F(ApplicationBus, TheButtonStepsThroughTheEffectListAndReportsIt) {
    Report list = command(0x51, 0x29);
    std::fill(list.begin() + kDataAt, list.begin() + kDataAt + 18, 0xFF);
    list[kDataAt] = kEffectStatic;
    list[kDataAt + 5] = kEffectBreath;
    app_->ask(list);

    auto isEvent = [](std::uint8_t effect) {
        return [effect](const Report& r) {
            return r[0] == 0x42 && r[1] == 0x20 && r[2] == 0 && r[3] == 0 && r[kDataAt] == 0 &&
                   (r[7] != 0 || r[8] != 0) && r[kDataAt + 2] == effect;
        };
    };
    controller_->pressEffectButton();
    ASSERT_TRUE(app_->waitReport(isEvent(kEffectBreath)));
    controller_->pressEffectButton();
    ASSERT_TRUE(app_->waitReport(isEvent(kEffectStatic))) << "wraps around, skipping empty places";
    const Report status = app_->ask(command(0x40, 0x63));
    EXPECT_EQ(status[kDataAt + 5], kEffectStatic);

    controller_->pressProfileButton();
    ASSERT_TRUE(app_->waitReport([](const Report& r) { return r[0] == 0x42 && r[kDataAt] != 0 && r[kDataAt + 1] == 1; }));
}

TEST_F(ApplicationBus, RecordGroupReportsTheFlashedVersion) {
    const Report fw = app_->ask(command(0x12, 0x00));
    const auto info = firmware::decodeFwInfo(std::span<const std::uint8_t, 60>(fw.data() + 4, 60));
    EXPECT_EQ(info, defaultTargetConfig().fwInfo);
    const Report index = app_->ask(command(0x12, 0x01));
    ASSERT_EQ(index[kDataAt], 4);
    const std::uint8_t n = index[kDataAt + 2];
    const Report ap = app_->ask(command(0x12, static_cast<std::uint8_t>(0x20 + n)));
    EXPECT_EQ(firmware::decodeApInfo(std::span<const std::uint8_t, 60>(ap.data() + 4, 60)),
              defaultTargetConfig().freshVersion);
    const Report ver = app_->ask(command(0x12, 0x20));
    EXPECT_EQ(firmware::decodeVerInfo(std::span<const std::uint8_t, 60>(ver.data() + 4, 60)), u"V1.00");
    // The application firmware flashes no part of the controller itself.
    EXPECT_TRUE(isErrorReply(*app_->exchange(withLe32(command(0x1D, 0x00), 8, 1024))));
}

// The update the updater runs: into the boot loader, erase, write, checksum, version record, back out.
TEST_F(ApplicationBus, AnUpdateSwitchesToTheBootLoaderAndBackWithTheNewVersion) {
    const auto fw = defaultTargetConfig().fwInfo;
    ASSERT_TRUE(app_->write(command(0x11, 0x00)));
    ASSERT_TRUE(app_->waitPresent(false));
    HostLink boot(1, kBootLoaderProductId);
    ASSERT_TRUE(boot.waitPresent(true)) << "returns as the boot loader";
    EXPECT_EQ(controller_->firmware(), Firmware::BootLoader);

    EXPECT_EQ(le32(boot.ask(command(0x10, 0x02)), kDataAt), 1u);
    boot.ask(withLe32(command(0x1D, 0x00), 8, fw.areaBytes()));
    boot.ask(withLe32(command(0x1E, 0x01), 4, fw.imageStart));
    EXPECT_EQ(le32(boot.ask(withLe32(command(0x1E, 0x00), 4, 0xFFFFFFFF)), kDataAt), fw.imageStart);

    std::vector<std::uint8_t> body(3001);
    for (std::size_t i = 0; i < body.size(); ++i) body[i] = static_cast<std::uint8_t>(i * 13);
    const auto image = firmware::buildApplicationImage({2, 1, 7}, body);
    auto writeAll = [&](std::span<const std::uint8_t> bytes, std::uint32_t address) {
        for (std::size_t at = 0; at < bytes.size(); at += 56) {
            const std::size_t n = std::min<std::size_t>(56, bytes.size() - at);
            Report w = command(0x1F, static_cast<std::uint8_t>(n));
            std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(at), n, w.begin() + kDataAt);
            ASSERT_EQ(le32(boot.ask(w), kDataAt), address + at + n);
        }
    };
    writeAll(image, fw.imageStart);
    Report sum = withLe32(withLe32(command(0x1D, 0x01), 4, fw.imageStart), 8, static_cast<std::uint32_t>(image.size()));
    EXPECT_EQ(le32(boot.ask(sum), kDataAt), firmware::wordSum(image));

    boot.ask(withLe32(command(0x1E, 0x01), 4, 0));
    const auto verInfo = firmware::encodeVerInfo(u"V2.10");
    writeAll(verInfo, 0);
    const Report record0 = boot.ask(command(0x12, 0x20));
    EXPECT_TRUE(std::equal(verInfo.begin(), verInfo.end(), record0.begin() + kDataAt));

    ASSERT_TRUE(boot.write(command(0x11, 0x01)));
    ASSERT_TRUE(boot.waitPresent(false));
    ASSERT_TRUE(app_->waitPresent(true)) << "returns as the application firmware";
    const std::uint8_t n = app_->ask(command(0x12, 0x01))[kDataAt + 2];
    const Report ap = app_->ask(command(0x12, static_cast<std::uint8_t>(0x20 + n)));
    EXPECT_EQ(firmware::decodeApInfo(std::span<const std::uint8_t, 60>(ap.data() + 4, 60)), (firmware::Version{2, 1, 7}));
    EXPECT_EQ(app_->removals(), 1u);
    EXPECT_EQ(app_->arrivals(), 2u);

    // The new firmware survives a restart.
    app_.reset();
    controller_.reset();
    controller_ = startController(options());
    EXPECT_EQ(controller_->state().targets[0].version(), (firmware::Version{2, 1, 7}));
}

TEST_F(ApplicationBus, AHalfWrittenImageComesBackInTheBootLoader) {
    ASSERT_TRUE(app_->write(command(0x11, 0x00)));
    HostLink boot(1, kBootLoaderProductId);
    ASSERT_TRUE(boot.waitPresent(true));
    const auto fw = defaultTargetConfig().fwInfo;
    boot.ask(withLe32(command(0x1D, 0x00), 8, fw.areaBytes()));
    boot.ask(withLe32(command(0x1E, 0x01), 4, fw.imageStart));
    const auto image = firmware::buildApplicationImage({3, 0, 0}, std::vector<std::uint8_t>(500, 0x11));
    Report w = command(0x1F, 60);
    std::copy_n(image.begin(), 60, w.begin() + kDataAt);
    boot.ask(w);  // only the first piece
    ASSERT_TRUE(boot.write(command(0x11, 0x01)));
    ASSERT_TRUE(boot.waitPresent(false));
    ASSERT_TRUE(boot.waitPresent(true)) << "back as the boot loader";
    EXPECT_EQ(app_->arrivals(), 1u) << "the application never came back";
    EXPECT_EQ(controller_->firmware(), Firmware::BootLoader);
}

TEST_F(BusTest, SeveralTargetsEachWithTheirOwnRecordsAndFlash) {
    auto o = options();
    TargetConfig unit = defaultTargetConfig();
    unit.fwInfo.signature[0] = 'U';
    unit.fwInfo.layoutId = 7;
    unit.freshVersion = {4, 2, 1};
    o.targets.push_back(unit);
    auto controller = startController(o);
    HostLink app(0, kApplicationProductId);
    ASSERT_TRUE(app.waitPresent(true));

    EXPECT_EQ(le32(app.ask(command(0x10, 0x02)), kDataAt), 2u);
    app.ask(withLe32(command(0x10, 0x01), 4, 1));
    EXPECT_EQ(le32(app.ask(command(0x10, 0x00)), kDataAt), 1u);
    const Report fw = app.ask(command(0x12, 0x00));
    EXPECT_EQ(fw[kDataAt + 4], 'U');
    EXPECT_EQ(fw[kDataAt + 20], 7);
    EXPECT_TRUE(isErrorReply(*app.exchange(withLe32(command(0x10, 0x01), 4, 2))));

    // The unit runs its application: asking for the write address fails until it enters its boot loader,
    // and the controller stays on the bus meanwhile.
    EXPECT_TRUE(isErrorReply(*app.exchange(withLe32(command(0x1E, 0x00), 4, 0xFFFFFFFF))));
    ASSERT_TRUE(app.write(command(0x11, 0x00)));
    app.ask(withLe32(command(0x1E, 0x00), 4, 0xFFFFFFFF));
    app.ask(withLe32(command(0x1D, 0x00), 8, 2048));
    const auto state = controller->state();
    EXPECT_EQ(state.targets[1].recordPage(0)->at(0), 0xFF) << "unit's version area erased";
    EXPECT_NE(state.targets[0].recordPage(0)->at(0), 0xFF) << "controller's own flash untouched";
    EXPECT_EQ(app.removals(), 0u);
}

TEST_F(BusTest, StartingInTheBootLoaderShowsTheBootLoaderProduct) {
    auto o = options();
    o.startInBootLoader = true;
    auto controller = startController(o);
    HostLink boot(1, kBootLoaderProductId);
    ASSERT_TRUE(boot.waitPresent(true));
    EXPECT_TRUE(isErrorReply(*boot.exchange(command(0x40, 0x20)))) << "no application commands";
    const Report fw = boot.ask(command(0x12, 0x00));
    EXPECT_EQ(fw[kDataAt + 36] | (fw[kDataAt + 37] << 8), defaultTargetConfig().fwInfo.imageStart);
    // The image is intact, so leaving starts the application.
    HostLink app(0, kApplicationProductId);
    ASSERT_TRUE(boot.write(command(0x11, 0x01)));
    ASSERT_TRUE(app.waitPresent(true));
}

TEST_F(BusTest, UsbTimingModeStillAnswersEveryCommandInOrder) {
    auto o = options();
    o.usbTiming = true;
    auto controller = startController(o);
    HostLink app(0, kApplicationProductId);
    ASSERT_TRUE(app.waitPresent(true));
    for (std::uint8_t p = 0; p < 20; ++p) {
        app.ask(command(0x51, 0x00, 0, {static_cast<std::uint8_t>(p % 2)}));
        EXPECT_EQ(app.ask(command(0x52, 0x00))[kDataAt], p % 2);
    }
}

// Without a state file a flash change has nowhere to go: the controller settles instead of keeping
// its idle-save wake-up due for ever (which spun its thread on a whole core).
TEST_F(BusTest, WithoutAStateFileAFlashChangeLeavesTheControllerIdle) {
    ControllerOptions o = options();
    o.stateFile.clear();
    o.startInBootLoader = true;
    auto controller = startController(std::move(o));
    ASSERT_TRUE(controller);
    HostLink boot(1, kBootLoaderProductId);
    ASSERT_TRUE(boot.waitPresent(true));
    const auto fw = defaultTargetConfig().fwInfo;
    boot.ask(withLe32(command(0x1D, 0x00), 8, fw.areaBytes()));  // erase: a flash change

    std::this_thread::sleep_for(700ms);  // past the idle-save delay
    const std::clock_t before = std::clock();
    std::this_thread::sleep_for(1000ms);
    const double cpuSeconds = static_cast<double>(std::clock() - before) / CLOCKS_PER_SEC;
    // A spinning thread takes most of a core; an idle controller next to nothing.
    EXPECT_LT(cpuSeconds, 0.3);
}

}  // namespace
}  // namespace simulator::test
