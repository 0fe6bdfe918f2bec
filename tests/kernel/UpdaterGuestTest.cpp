// The updater's update sequence over the hidraw backend against kernel HID devices: the application
// link reads the controller's records and sends it into its boot loader, the kernel takes the device
// away and brings it back as 0x0050, the boot-loader link flashes it, and it comes back as 0x004F on
// the new version. Also the second-controller case on real hidraw: a controller that arrives in its
// boot loader while the first one is flashed gets nothing, and the first one ends updated.
#include "GuestSupport.h"
#include "UhidController.h"

#include "BootLoaderCommands.h"
#include "ControllerRecordFetch.h"
#include "FlashLink.h"
#include "FlashSequence.h"

#include "firmware/ApplicationImage.h"
#include "firmware/ControllerRecords.h"
#include "firmware/PackageLayout.h"
#include "simulator/Report.h"
#include "simulator/Target.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <memory>
#include <thread>

namespace kernel_guest {
namespace {

using namespace std::chrono_literals;
using simulator::Firmware;
using updater::FlashLink;

constexpr firmware::Version kNewVersion{1, 1, 0};

// A package of one entry for the controller's signature and layout, version 1.1.0.
struct Package {
    firmware::FirmwareInfoBlock info{};
    std::vector<std::uint8_t> image;
    std::vector<std::uint8_t> versionBlock;
};

Package makePackage() {
    Package p;
    std::vector<std::uint8_t> body(6000);
    for (std::size_t i = 0; i < body.size(); ++i) body[i] = static_cast<std::uint8_t>(i * 7 + 3);
    p.image = firmware::buildApplicationImage(kNewVersion, body);
    const firmware::Record version = firmware::encodeVerInfo(u"V1.10");
    p.versionBlock.assign(version.begin(), version.end());
    const auto fwInfo = simulator::defaultTargetConfig().fwInfo;
    std::memcpy(p.info.signature, fwInfo.signature.data(), sizeof p.info.signature);
    p.info.bootLoaderVendorId = p.info.applicationVendorId = simulator::kVendorId;
    p.info.bootLoaderProductId = simulator::kBootLoaderProductId;
    p.info.applicationProductId = simulator::kApplicationProductId;
    p.info.bytesPerWrite = 60;
    auto& entry = p.info.entries[0];
    entry.imageBytes = static_cast<std::uint32_t>(p.image.size());
    entry.versionBlockBytes = static_cast<std::uint32_t>(p.versionBlock.size());
    entry.layoutId = fwInfo.layoutId;
    entry.versionMajor = kNewVersion.major;
    entry.versionMinor = kNewVersion.minor;
    entry.versionBuild = static_cast<decltype(entry.versionBuild)>(kNewVersion.build);
    return p;
}

bool waitForDevice(const FlashLink& link, bool present) {
    const auto end = std::chrono::steady_clock::now() + kDeadline;
    while ((link.deviceNumber() != 0) != present) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(10ms);
    }
    return true;
}

class UpdaterGuest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        controller_ = UhidController::start(0, error);
        ASSERT_TRUE(controller_) << error;
        ASSERT_TRUE(waitForHidraw(simulator::kVendorId, simulator::kApplicationProductId, true));
        ASSERT_TRUE(applicationLink_.open(simulator::kVendorId, simulator::kApplicationProductId));
        bootLoaderLink_.open(simulator::kVendorId, simulator::kBootLoaderProductId);
    }
    void TearDown() override {
        applicationLink_.close();
        bootLoaderLink_.close();
        newcomer_.reset();
        controller_.reset();
        waitForHidraw(simulator::kVendorId, simulator::kApplicationProductId, false);
        waitForHidraw(simulator::kVendorId, simulator::kBootLoaderProductId, false);
    }

    // The records through the application link, the enter-boot-loader command, the kernel's 0x004F ->
    // 0x0050, then the flash through the boot-loader link; `atPercent` runs once at 30 %.
    updater::FlashOutcome update(const std::function<void()>& atPercent30 = {}) {
        const auto records = updater::fetchControllerRecords(applicationLink_, package_.info, -1, {});
        EXPECT_EQ(records.selectedEntry, 0);
        EXPECT_EQ(updater::enterBootLoader(applicationLink_), updater::ExchangeResult::Ok);
        EXPECT_TRUE(waitForDevice(applicationLink_, false)) << "0x004F did not leave";
        EXPECT_TRUE(waitForDevice(bootLoaderLink_, true)) << "0x0050 did not arrive";
        updater::HeldDeviceChannel channel(bootLoaderLink_);
        const updater::FlashJob job{package_.image, package_.versionBlock, u"V1.10", package_.info.bytesPerWrite};
        bool ran = false;
        return updater::runFlashSequence(channel, job, [&](int percent) {
            if (percent >= 30 && !ran && atPercent30) {
                ran = true;
                atPercent30();
            }
        });
    }

    Package package_ = makePackage();
    std::unique_ptr<UhidController> controller_;
    std::unique_ptr<UhidController> newcomer_;
    FlashLink applicationLink_{FlashLink::Kind::Application};
    FlashLink bootLoaderLink_{FlashLink::Kind::BootLoader};
};

TEST_F(UpdaterGuest, UpdatesThroughTheKernelAndComesBackOnTheNewVersion) {
    const auto outcome = update();
    ASSERT_TRUE(outcome.succeeded) << outcome.failureText;
    ASSERT_TRUE(controller_->waitOnBus(Firmware::Application, true, 10000)) << "0x004F did not come back";
    ASSERT_TRUE(waitForDevice(applicationLink_, true));
    const auto after = updater::fetchControllerRecords(applicationLink_, package_.info, -1, {});
    ASSERT_TRUE(after.application.has_value());
    EXPECT_EQ(*after.application, kNewVersion);
    EXPECT_EQ(controller_->state().targets.at(0).imageState(), firmware::ImageState::Valid);
}

TEST_F(UpdaterGuest, ASecondControllerInItsBootLoaderAt30PercentGetsNothing) {
    std::string error;
    const auto outcome = update([&] {
        newcomer_ = UhidController::start(0, error, true);
        // The kernel's second 0x0050 node, announced to the boot-loader link while it flashes.
        std::this_thread::sleep_for(300ms);
    });
    ASSERT_TRUE(newcomer_) << error;
    ASSERT_TRUE(outcome.succeeded) << outcome.failureText;
    ASSERT_TRUE(controller_->waitOnBus(Firmware::Application, true, 10000));
    EXPECT_EQ(controller_->state().targets.at(0).version(), kNewVersion);
    EXPECT_EQ(newcomer_->state().firmware, Firmware::BootLoader);
    EXPECT_NE(newcomer_->state().targets.at(0).version(), kNewVersion) << "the newcomer was written to";
}

}  // namespace
}  // namespace kernel_guest
