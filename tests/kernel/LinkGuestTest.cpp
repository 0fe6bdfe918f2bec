// The controller links over the hidraw backend against a kernel HID device that answers with the
// virtual controller's logic: OpenDevice, SetData and the command set end to end, and the switch into
// the boot loader seen as the application device leaving and the boot-loader device arriving.
#include "GuestSupport.h"
#include "IAP_CUSBDriver.h"
#include "LinkTestSupport.h"
#include "UhidController.h"

#include "simulator/Lighting.h"
#include "simulator/Report.h"

#include <numeric>

namespace kernel_guest {
namespace {

using config::CUSBDriver;
using config::WM_DEVICE_PLUG;
using config_test::Message;

class LinkGuest : public config_test::LinkFixture {
protected:
    void SetUp() override {
        LinkFixture::SetUp();
        std::string error;
        controller_ = UhidController::start(0, error);
        ASSERT_TRUE(controller_) << error;
        ASSERT_TRUE(waitForHidraw(simulator::kVendorId, simulator::kApplicationProductId, true));
    }
    void TearDown() override {
        links_.clear();
        controller_.reset();
        waitForHidraw(simulator::kVendorId, simulator::kApplicationProductId, false);
        waitForHidraw(simulator::kVendorId, simulator::kBootLoaderProductId, false);
        LinkFixture::TearDown();
    }

    std::unique_ptr<UhidController> controller_;
};

TEST_F(LinkGuest, CommandSetRoundTripsThroughTheKernelDevice) {
    CUSBDriver& link = MakeLink();
    ASSERT_TRUE(link.OpenDevice());
    ASSERT_TRUE(config_test::WaitUntil([&] { return owner_.messages.size() >= 1; }));
    EXPECT_EQ(owner_.messages.front(), (Message{WM_DEVICE_PLUG, 0, 1}));
    ASSERT_EQ(link.Devices().size(), 1u);
    EXPECT_EQ(link.Devices()[0], controllerNotice(TARN_EVENT_ADDED, 1, simulator::kApplicationProductId));

    // SetData: one raw exchange, the reply repeating the command's first bytes.
    std::array<std::uint8_t, 64> raw{};
    raw[0] = 0x12;
    raw[1] = 0x00;
    ASSERT_EQ(link.SetData(raw), 0);
    EXPECT_EQ(raw[0], 0x12);
    EXPECT_EQ(raw[1], 0x00);

    ASSERT_EQ(link.GetDeviceInfo(), 0);
    EXPECT_EQ(link.InfoWord() >> 24, 1u) << "one information record";
    EXPECT_EQ(link.ListLength() & 0xFF, 18);
    EXPECT_EQ(link.ProfileBlockBytes(), simulator::kProfileBlockBytes);

    // Effect parameters: levels out, raw values in the controller, levels back.
    const config_test::EffectEntryRows levels = {{
        {1, 3, 0x00, 0, 0, 1, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66},
        {2, 4, 0x00, 0, 0, 2, 1, 2, 3, 4, 5, 6},
        {3, 7, 0x00, 0, 0, 0, 7, 8, 9, 10, 11, 12},
        {0, 0, 0x00, 0, 0, 0xFF, 13, 14, 15, 16, 17, 18},
        {9, 1, 0x00, 0, 0, 0, 19, 20, 21, 22, 23, 24},
    }};
    ASSERT_EQ(link.SetEffectParams(1, config_test::JoinEntries(levels)), 0);
    const auto stored = controller_->state().live.current().effectParams[1];
    EXPECT_EQ(stored[1], (simulator::EffectEntry{1, 44, 0x20, 0xFF, 0xFF, 153, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66}));
    EXPECT_EQ(stored[9], (simulator::EffectEntry{9, 104, 0x00, 24, 0xFF, 0, 19, 20, 21, 22, 23, 24}));
    std::array<std::uint8_t, 60> request{};
    for (std::size_t i = 0; i < levels.size(); ++i) request[12 * i] = levels[i][0];
    ASSERT_EQ(link.GetEffectParams(1, request), 0);
    EXPECT_EQ(request, config_test::JoinEntries({{
                           {1, 3, 0x20, 0xFF, 0xFF, 1, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66},
                           {2, 4, 0x00, 0xFF, 0xFF, 2, 1, 2, 3, 4, 5, 6},
                           {3, 4, 0x00, 0x21, 0xFF, 0, 7, 8, 9, 10, 11, 12},
                           {0, 0, 0x00, 0xFF, 0xFF, 0, 13, 14, 15, 16, 17, 18},
                           {9, 1, 0x00, 24, 0xFF, 0, 19, 20, 21, 22, 23, 24},
                       }}));

    // Profile blocks: a factory block reads as empty, a written one comes back.
    std::array<std::uint8_t, CUSBDriver::kProfileBlockBufferSize> block;
    block.fill(0xEE);
    ASSERT_EQ(link.GetProfileBlock(1, block), 0);
    EXPECT_EQ(block, (std::array<std::uint8_t, CUSBDriver::kProfileBlockBufferSize>{}));
    std::array<std::uint8_t, CUSBDriver::kProfileBlockBufferSize> written{};
    std::iota(written.begin(), written.end(), std::uint8_t{1});
    ASSERT_EQ(link.SetProfileBlock(1, written), 0);
    ASSERT_EQ(link.GetProfileBlock(1, block), 0);
    std::array<std::uint8_t, CUSBDriver::kProfileBlockBufferSize> expected{};
    std::copy_n(written.begin(), link.ProfileBlockBytes(), expected.begin());
    EXPECT_EQ(block, expected);

    EXPECT_EQ(controller_->malformedOutputs(), 0u);
    EXPECT_EQ(controller_->state().commandsRefused, 0u);
}

TEST_F(LinkGuest, EnteringTheBootLoaderMovesTheControllerToTheBootLoaderLink) {
    CUSBDriver& link = MakeLink();
    auto& bootLoader = MakeLink<config::IAP_CUSBDriver>();
    ASSERT_TRUE(link.OpenDevice());
    EXPECT_FALSE(bootLoader.OpenDevice()) << "no boot loader on the bus yet";
    ASSERT_TRUE(config_test::WaitUntil([&] { return owner_.messages.size() >= 2; }));
    owner_.messages.clear();

    // Enter the boot loader: never answered, the controller restarts as product 0x0050.
    std::array<std::uint8_t, 64> enter{};
    enter[0] = 0x11;
    enter[1] = 0x00;
    EXPECT_EQ(link.SetData(enter), 1) << "no reply";
    ASSERT_TRUE(controller_->waitOnBus(simulator::Firmware::BootLoader, true, 10000));
    // The links post their plug messages to the owner after handling the notices: wait for both.
    ASSERT_TRUE(config_test::WaitUntil([&] { return owner_.messages.size() >= 2; }));
    EXPECT_FALSE(link.IsOpen());
    EXPECT_TRUE(bootLoader.IsOpen());
    EXPECT_EQ(owner_.messages, (std::vector<Message>{{WM_DEVICE_PLUG, 0, 0}, {WM_DEVICE_PLUG, 1, 1}}));
    ASSERT_EQ(bootLoader.Devices().size(), 1u);
    EXPECT_EQ(bootLoader.Devices()[0], controllerNotice(TARN_EVENT_ADDED, 1, simulator::kBootLoaderProductId));

    // The boot loader answers its own commands through the boot-loader link.
    std::array<std::uint8_t, 64> info{};
    ASSERT_EQ(bootLoader.GetFWInfo(info), 0);
    EXPECT_EQ(info[0], 0x12);
    EXPECT_EQ(link.GetDeviceInfo(), 1) << "the application link has no controller";
}

}  // namespace
}  // namespace kernel_guest
