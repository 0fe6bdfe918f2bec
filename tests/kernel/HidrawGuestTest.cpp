// The hidraw backend against kernel HID devices (uhid) that answer with the virtual controller's logic:
// TarnOpen finds the device with the right notice, TarnWrite and the reader carry 65-byte reports with
// the right id byte with and without report ids, and the kernel's hot-plug reaches the slot.
#include "GuestSupport.h"
#include "UhidController.h"

#include "simulator/Lighting.h"
#include "simulator/Report.h"
#include "simulator/Target.h"

#include <gtest/gtest.h>

namespace kernel_guest {
namespace {

constexpr std::int32_t kSlot = 2;
constexpr std::uint32_t kNoticeMessage = 0x4FA;

TarnDeviceFilter controllerFilter(std::uint16_t productId) {
    TarnDeviceFilter filter{};
    filter.vendorId = simulator::kVendorId;
    filter.productId = productId;
    filter.pairCount = 1;
    filter.pairs[0] = {simulator::kUsage, simulator::kUsagePage};
    return filter;
}

// The reply a freshly powered controller gives to `command`, computed without any bus.
simulator::Report referenceReply(const simulator::Report& command) {
    simulator::Target target(simulator::defaultTargetConfig());
    target.programFresh();
    simulator::ControllerCore core(simulator::defaultControllerSettings(), {target});
    core.powerUp(false);
    const auto outcome = core.handle(command);
    return outcome.reply.value_or(simulator::Report{});
}

simulator::Report command(std::uint8_t group, std::uint8_t key) {
    simulator::Report report{};
    report[0] = group;
    report[1] = key;
    return report;
}

class HidrawGuest : public ::testing::TestWithParam<std::uint8_t> {
protected:
    void SetUp() override {
        std::string error;
        controller_ = UhidController::start(GetParam(), error);
        ASSERT_TRUE(controller_) << error;
        ASSERT_TRUE(waitForHidraw(simulator::kVendorId, simulator::kApplicationProductId, true));
        const TarnDeviceFilter filter = controllerFilter(simulator::kApplicationProductId);
        TarnSetFilter(&filter, kSlot);
        TarnSetReportCallback(&SlotRecorder::OnReport, kSlot);
    }
    void TearDown() override {
        TarnClose(kSlot);
        controller_.reset();
        waitForHidraw(simulator::kVendorId, simulator::kApplicationProductId, false);
    }

    // Writes `report` to the device and expects its reply with the device's id byte first.
    void expectExchange(std::int32_t deviceNumber, const simulator::Report& report) {
        const std::size_t before = recorder_.reports().size();
        ASSERT_NE(TarnWrite(deviceNumber, report.data(), static_cast<std::int32_t>(report.size()), kSlot), 0);
        ASSERT_TRUE(recorder_.waitForReports(before + 1))
            << "no reply; output reports the device received: " << controller_->rawOutputs().size();
        const InputReport reply = recorder_.reports().at(before);
        EXPECT_EQ(reply.deviceNumber, deviceNumber);
        ASSERT_EQ(reply.bytes.size(), 65u);
        EXPECT_EQ(reply.bytes[0], GetParam()) << "id byte";
        const simulator::Report expected = referenceReply(report);
        EXPECT_TRUE(std::equal(expected.begin(), expected.end(), reply.bytes.begin() + 1));
    }

    SlotRecorder recorder_;
    std::unique_ptr<UhidController> controller_;
};

TEST_P(HidrawGuest, OpenFindsTheDeviceAndReportsCarryTheIdByte) {
    const std::int32_t next = TarnOpen(&SlotRecorder::OnNotice, &recorder_, kNoticeMessage, kSlot);
    EXPECT_EQ(next, 2) << "one device found, numbered 1";
    ASSERT_EQ(recorder_.notices(), (std::vector{controllerNotice(TARN_EVENT_ADDED, 1, simulator::kApplicationProductId)}));
    EXPECT_EQ(recorder_.messages(), (std::vector<std::uint32_t>{kNoticeMessage}));

    expectExchange(1, command(0x12, 0x00));   // firmware information record
    expectExchange(1, command(0x12, 0x01));   // its index query

    // The kernel handed each write over with the id byte first: the report id, or the 0 of a device
    // without report ids, which the device strips as a USB device never sees it.
    const auto raw = controller_->rawOutputs();
    ASSERT_EQ(raw.size(), 2u);
    for (const auto& output : raw) {
        EXPECT_EQ(output.size(), 65u);
        EXPECT_EQ(output[0], GetParam());
    }
    EXPECT_EQ(controller_->malformedOutputs(), 0u);
}

TEST_P(HidrawGuest, UnplugAndReplugGiveRemovalAndArrivalWithTheNextNumber) {
    ASSERT_EQ(TarnOpen(&SlotRecorder::OnNotice, &recorder_, kNoticeMessage, kSlot), 2);

    controller_->unplug();
    ASSERT_TRUE(recorder_.waitForNotices([](const auto& n) { return n.size() >= 2; }));
    EXPECT_EQ(recorder_.notices().at(1), controllerNotice(TARN_EVENT_REMOVED, 1, simulator::kApplicationProductId));
    const simulator::Report probe = command(0x12, 0x00);
    EXPECT_EQ(TarnWrite(1, probe.data(), static_cast<std::int32_t>(probe.size()), kSlot), 0) << "device 1 is gone";

    controller_->plugIn();
    ASSERT_TRUE(recorder_.waitForNotices([](const auto& n) { return n.size() >= 3; }));
    EXPECT_EQ(recorder_.notices().at(2), controllerNotice(TARN_EVENT_ADDED, 2, simulator::kApplicationProductId));
    expectExchange(2, probe);
    EXPECT_EQ(recorder_.notices().size(), 3u) << "no other notice";
}

TEST_P(HidrawGuest, ADeviceThatArrivesAfterOpenIsAnnounced) {
    controller_->unplug();
    ASSERT_TRUE(waitForHidraw(simulator::kVendorId, simulator::kApplicationProductId, false));
    EXPECT_EQ(TarnOpen(&SlotRecorder::OnNotice, &recorder_, kNoticeMessage, kSlot), 0);
    ASSERT_EQ(recorder_.notices(), (std::vector{_DEVICE_STATE{}})) << "the all-zero notice: nothing present";

    controller_->plugIn();
    ASSERT_TRUE(recorder_.waitForNotices([](const auto& n) { return n.size() >= 2; }));
    EXPECT_EQ(recorder_.notices().at(1), controllerNotice(TARN_EVENT_ADDED, 1, simulator::kApplicationProductId));
    expectExchange(1, command(0x12, 0x00));
}

INSTANTIATE_TEST_SUITE_P(ReportIds, HidrawGuest, ::testing::Values(std::uint8_t{0}, std::uint8_t{7}),
                         [](const ::testing::TestParamInfo<std::uint8_t>& param) {
                             return param.param ? "WithReportId7" : "WithoutReportIds";
                         });

}  // namespace
}  // namespace kernel_guest
