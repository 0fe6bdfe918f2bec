// The flashing commands against the virtual controller in-process, over libtarnlink's virtual bus:
// a whole flash of target 0 through the boot-loader link, error replies per link, injected faults,
// link changes and exchanges from two threads at once.
#include "BootLoaderCommands.h"
#include "FlashLink.h"

#include "HostLink.h"

#include "firmware/ApplicationImage.h"
#include "firmware/Checksum.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>

namespace updater {
namespace {

using namespace std::chrono_literals;
using simulator::FaultRule;
using simulator::Firmware;
using simulator::VirtualController;

constexpr Retries kQuickRetries{3, 10ms};

FaultRule fault(const std::string& text) {
    auto parsed = simulator::parseFaultRule(text);
    EXPECT_TRUE(parsed.rule) << parsed.error;
    return parsed.rule.value_or(FaultRule{});
}

bool waitUntil(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + simulator::test::kDeadline;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(2ms);
    }
    return true;
}

// Writes the bytes in pieces of 60 from the current write address; false at the first piece whose
// reply does not report the address right after it.
bool writeAll(CommandChannel& link, std::uint32_t start, std::span<const std::uint8_t> bytes) {
    for (std::size_t at = 0; at < bytes.size(); at += kMaxWriteBytes) {
        const auto piece = bytes.subspan(at, std::min(kMaxWriteBytes, bytes.size() - at));
        std::uint32_t address = 0;
        if (writeData(link, piece, address) != ExchangeResult::Ok) return false;
        if (address != start + at + piece.size()) return false;
    }
    return true;
}

std::vector<std::uint8_t> imageOf(firmware::Version version, std::size_t bodyBytes) {
    std::vector<std::uint8_t> body(bodyBytes);
    for (std::size_t i = 0; i < body.size(); ++i) body[i] = static_cast<std::uint8_t>(i * 7 + 3);
    return firmware::buildApplicationImage(version, body);
}

class FlashProtocol : public simulator::test::BusTest {
protected:
    void start(FlashLink::Kind kind, std::vector<FaultRule> faults = {}) {
        auto o = options();
        o.startInBootLoader = kind == FlashLink::Kind::BootLoader;
        o.faults = std::move(faults);
        controller_ = startController(o);
        ASSERT_TRUE(controller_);
        link_ = std::make_unique<FlashLink>(kind);
        link_->setChangeObserver([this](FlashLink::DeviceChange change) {
            (change == FlashLink::DeviceChange::Listed ? listed_ : lost_)++;
        });
        link_->open(simulator::kVendorId, kind == FlashLink::Kind::BootLoader ? simulator::kBootLoaderProductId
                                                                                : simulator::kApplicationProductId);
        ASSERT_TRUE(waitUntil([&] { return link_->deviceNumber() != 0; }));
    }
    // Ends one controller's session; the next start() begins with a fresh controller on the same bus.
    void stop() {
        link_.reset();
        controller_.reset();
        std::filesystem::remove(options().stateFile);
        listed_ = 0;
        lost_ = 0;
    }
    void TearDown() override {
        stop();
        BusTest::TearDown();
    }
    simulator::Target target0() const { return controller_->state().targets.at(0); }

    std::unique_ptr<VirtualController> controller_;
    std::unique_ptr<FlashLink> link_;
    std::atomic<int> listed_{0};
    std::atomic<int> lost_{0};
};

TEST_F(FlashProtocol, FlashesImageAndVersionRecordThenTheControllerBootsIt) {
    start(FlashLink::Kind::BootLoader);
    FlashLink& link = *link_;
    std::uint32_t targets = 0, selected = 9;
    ASSERT_EQ(countTargets(link, targets), ExchangeResult::Ok);
    EXPECT_EQ(targets, 1u);
    ASSERT_EQ(selectTarget(link, 0), ExchangeResult::Ok);
    ASSERT_EQ(getSelectedTarget(link, selected), ExchangeResult::Ok);
    EXPECT_EQ(selected, 0u);

    firmware::Record record{};
    ASSERT_EQ(getFwInfo(link, record), ExchangeResult::Ok);
    const firmware::FwInfo info = firmware::decodeFwInfo(record);
    EXPECT_EQ(info, simulator::defaultTargetConfig().fwInfo);

    ASSERT_EQ(erase(link, info.areaBytes()), ExchangeResult::Ok);
    const auto image = imageOf({1, 1, 0}, 5003);  // not a multiple of 60: the last piece is short
    ASSERT_TRUE(setWriteAddressChecked(link, info.imageStart, kQuickRetries));
    ASSERT_TRUE(writeAll(link, info.imageStart, image));
    std::uint32_t sum = 0;
    ASSERT_EQ(checksum(link, info.imageStart, static_cast<std::uint32_t>(image.size()), sum), ExchangeResult::Ok);
    EXPECT_EQ(sum, firmware::wordSum(image));

    const firmware::Record versionBlock = firmware::encodeVerInfo(u"V1.10");
    ASSERT_TRUE(setWriteAddressChecked(link, 0, kQuickRetries));
    ASSERT_TRUE(writeAll(link, 0, versionBlock));
    ASSERT_EQ(getRecord(link, 0, record), ExchangeResult::Ok);
    EXPECT_EQ(record, versionBlock);
    std::uint16_t apInfoIndex = 0;
    ASSERT_EQ(getApInfoIndex(link, apInfoIndex), ExchangeResult::Ok);
    EXPECT_EQ(apInfoIndex, simulator::defaultTargetConfig().apInfoRecord);
    ASSERT_EQ(getRecord(link, apInfoIndex, record), ExchangeResult::Ok);
    EXPECT_EQ(firmware::decodeApInfo(record), (firmware::Version{1, 1, 0}));

    ASSERT_EQ(leaveBootLoader(link), ExchangeResult::Ok);
    ASSERT_TRUE(controller_->waitFor(
        [](const simulator::ControllerState& s, bool onBus) { return onBus && s.firmware == Firmware::Application; },
        simulator::test::kDeadline));
    EXPECT_EQ(target0().version(), (firmware::Version{1, 1, 0}));
    EXPECT_TRUE(waitUntil([&] { return lost_ == 1 && !link.connected(); })) << "the boot loader left the bus";
    EXPECT_EQ(enterBootLoader(link), ExchangeResult::NoDevice);
}

TEST_F(FlashProtocol, EnteringTheBootLoaderIsDoneOnceWritten) {
    start(FlashLink::Kind::Application);
    ASSERT_EQ(enterBootLoader(*link_), ExchangeResult::Ok);
    EXPECT_TRUE(controller_->waitFor(
        [](const simulator::ControllerState& s, bool onBus) { return onBus && s.firmware == Firmware::BootLoader; },
        simulator::test::kDeadline));
    EXPECT_TRUE(waitUntil([&] { return lost_ == 1; }));
}

TEST_F(FlashProtocol, AnErrorReplyEndsTheExchangeOnlyOnTheApplicationLink) {
    const struct {
        FlashLink::Kind kind;
        ExchangeResult refused;
    } rows[] = {
        {FlashLink::Kind::Application, ExchangeResult::ErrorReply},
        {FlashLink::Kind::BootLoader, ExchangeResult::NoReply},  // runs into its time-out
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.kind == FlashLink::Kind::Application ? "application link" : "boot-loader link");
        start(row.kind);
        EXPECT_EQ(selectTarget(*link_, 7), row.refused) << "no target 7";
        std::uint32_t count = 0;
        EXPECT_EQ(countTargets(*link_, count), ExchangeResult::Ok) << "the next command is answered";
        stop();
    }
}

TEST_F(FlashProtocol, InjectedFaults) {
    using Check = std::function<void(FlashLink&, VirtualController&)>;
    const struct Row {
        const char* name;
        std::vector<FaultRule> faults;
        Check check;
    } rows[] = {
        {"a lost reply is retried", {fault("drop:1e.01,times=1")}, [](FlashLink& link, VirtualController&) {
             EXPECT_TRUE(setWriteAddressChecked(link, 4096, kQuickRetries));
         }},
        {"replies lost on every try", {fault("drop:1e.00")}, [](FlashLink& link, VirtualController&) {
             EXPECT_FALSE(setWriteAddressChecked(link, 4096, kQuickRetries));
         }},
        {"a read-back address off once", {fault("address:1e.00,times=1")}, [](FlashLink& link, VirtualController& c) {
             EXPECT_TRUE(setWriteAddressChecked(link, 4096, kQuickRetries));
             EXPECT_EQ(c.state().targets[0].writeAddress, 4096u);
         }},
        {"a write reply reporting the wrong address", {fault("address:1f,times=1")}, [](FlashLink& link, VirtualController&) {
             ASSERT_TRUE(setWriteAddressChecked(link, 4096, kQuickRetries));
             const std::uint8_t data[8] = {1, 2, 3, 4, 5, 6, 7, 8};
             std::uint32_t address = 0;
             ASSERT_EQ(writeData(link, data, address), ExchangeResult::Ok);
             EXPECT_NE(address, 4096u + 8) << "the caller sees the mismatch";
         }},
        {"a wrong checksum", {fault("checksum:1d.01")}, [](FlashLink& link, VirtualController& c) {
             std::uint32_t sum = 0;
             ASSERT_EQ(checksum(link, 2048, 1024, sum), ExchangeResult::Ok);
             EXPECT_NE(sum, firmware::wordSum(c.state().targets[0].flash.region(2048, 1024)));
         }},
        {"a write past the flash end answers 0x1E 0x02", {}, [](FlashLink& link, VirtualController& c) {
             const std::uint32_t end = c.state().targets[0].flash.size();
             ASSERT_TRUE(setWriteAddressChecked(link, end, kQuickRetries));
             const std::uint8_t data[4] = {};
             std::uint32_t address = 0;
             EXPECT_EQ(writeData(link, data, address), ExchangeResult::Ok);
             EXPECT_EQ(address, end) << "nothing was written";
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        start(FlashLink::Kind::BootLoader, row.faults);
        row.check(*link_, *controller_);
        stop();
    }
}

TEST_F(FlashProtocol, ExchangesFromTwoThreadsNeverOverlap) {
    start(FlashLink::Kind::BootLoader);
    std::atomic<int> failures{0};
    auto run = [&](const std::function<bool()>& exchangeOnce) {
        for (int i = 0; i < 60; ++i)
            if (!exchangeOnce()) ++failures;
    };
    std::thread records([&] {
        run([&] {
            firmware::Record record{};
            return getFwInfo(*link_, record) == ExchangeResult::Ok && record[20] == 1;  // layout id 1
        });
    });
    run([&] {
        std::uint32_t count = 0;
        return countTargets(*link_, count) == ExchangeResult::Ok && count == 1;
    });
    records.join();
    EXPECT_EQ(failures, 0);
}

TEST_F(FlashProtocol, LosesAndRelistsTheDeviceWhenItLeavesAndReturns) {
    // The application link: a power cycle brings a controller with a valid image back in application mode.
    start(FlashLink::Kind::Application);
    EXPECT_EQ(listed_, 1);
    controller_->unplug();
    ASSERT_TRUE(waitUntil([&] { return lost_ == 1; }));
    EXPECT_EQ(link_->deviceNumber(), 0);
    std::uint32_t count = 0;
    EXPECT_EQ(countTargets(*link_, count), ExchangeResult::NoDevice);
    controller_->plugIn();
    ASSERT_TRUE(waitUntil([&] { return listed_ == 2 && link_->deviceNumber() != 0; }));
    EXPECT_EQ(countTargets(*link_, count), ExchangeResult::Ok);
}

// A second controller of the same kind that arrives while the link holds one is not listed: every
// command still goes to the first; an exchange bound to the first fails once that one has gone, even
// after another device is listed in its place.
TEST_F(FlashProtocol, ANewcomerNeverTakesTheHeldDevicesPlace) {
    start(FlashLink::Kind::BootLoader);
    const std::uint16_t held = link_->deviceNumber();
    HeldDeviceChannel bound(*link_);
    auto o = options();
    o.name = "newcomer";
    o.stateFile = root_ + "/newcomer.state";
    o.startInBootLoader = true;
    auto newcomer = startController(o);
    ASSERT_TRUE(newcomer);
    const std::uint64_t newcomerCommands = newcomer->state().commandsHandled;
    std::this_thread::sleep_for(200ms);   // the newcomer's notice has reached the link
    EXPECT_EQ(link_->deviceNumber(), held);
    EXPECT_EQ(listed_, 1);
    std::uint32_t address = 0;
    EXPECT_EQ(getWriteAddress(bound, address), ExchangeResult::Ok);
    EXPECT_EQ(getWriteAddress(*link_, address), ExchangeResult::Ok);
    EXPECT_EQ(newcomer->state().commandsHandled, newcomerCommands) << "a command reached the newcomer";

    controller_->unplug();
    ASSERT_TRUE(waitUntil([&] { return lost_ == 1; }));
    newcomer.reset();
    newcomer = startController(o);   // a device listed after the held one went
    ASSERT_TRUE(newcomer);
    ASSERT_TRUE(waitUntil([&] { return link_->deviceNumber() != 0; }));
    EXPECT_NE(link_->deviceNumber(), held);
    EXPECT_EQ(getWriteAddress(bound, address), ExchangeResult::NoDevice);
}

}  // namespace
}  // namespace updater
