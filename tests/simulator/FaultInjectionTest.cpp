// Each injected fault does what it says, seen from the host.
#include "HostLink.h"

namespace simulator::test {
namespace {

using namespace std::chrono_literals;

FaultRule rule(const std::string& text) {
    auto parsed = parseFaultRule(text);
    EXPECT_TRUE(parsed.rule) << parsed.error;
    return parsed.rule.value_or(FaultRule{});
}

class Faults : public BusTest {
protected:
    void start(ControllerOptions o) {
        controller_ = startController(std::move(o));
        ASSERT_TRUE(controller_);
        host_ = std::make_unique<HostLink>(0, controller_->firmware() == Firmware::BootLoader ? kBootLoaderProductId
                                                                                              : kApplicationProductId);
        ASSERT_TRUE(host_->waitPresent(true));
    }
    void TearDown() override {
        host_.reset();
        controller_.reset();
        BusTest::TearDown();
    }
    std::unique_ptr<VirtualController> controller_;
    std::unique_ptr<HostLink> host_;
};

TEST_F(Faults, DroppedReplyStillCarriesTheCommandOut) {
    auto o = options();
    o.faults = {rule("drop:51.28,times=1")};
    start(o);
    EXPECT_FALSE(host_->exchange(command(0x51, 0x28, 0, {kEffectBreath}), kQuietTime));
    EXPECT_EQ(host_->ask(command(0x52, 0x28))[kDataAt], kEffectBreath);
    EXPECT_TRUE(host_->exchange(command(0x51, 0x28, 0, {kEffectOff}))) << "only once";
}

TEST_F(Faults, DelayedReplyArrivesLate) {
    start(options());
    controller_->addFault(rule("delay:40.63,ms=700"));
    EXPECT_FALSE(host_->exchange(command(0x40, 0x63), 200ms)) << "not within 200 ms";
    EXPECT_TRUE(host_->waitReport([](const Report& r) { return r[0] == 0x40 && r[1] == 0x63; }));
}

TEST_F(Faults, ErrorReplyRefusesTheCommand) {
    auto o = options();
    o.faults = {rule("error:51.00,skip=1,times=1")};
    start(o);
    host_->ask(command(0x51, 0x00, 0, {0}));
    const auto refused = host_->exchange(command(0x51, 0x00, 0, {1}));
    ASSERT_TRUE(refused);
    EXPECT_TRUE(isErrorReply(*refused));
    EXPECT_EQ((*refused)[2], 0x51);
    EXPECT_EQ(host_->ask(command(0x52, 0x00))[kDataAt], 0) << "the refused selection did not happen";
}

TEST_F(Faults, WrongChecksumOnceOrAlwaysAndWrongWriteAddress) {
    auto o = options();
    o.startInBootLoader = true;
    o.faults = {rule("checksum:1d.01,times=1"), rule("address:1f,times=1")};
    start(o);
    const Report sum = withLe32(withLe32(command(0x1D, 0x01), 4, 0), 8, 64);
    const std::uint32_t first = le32(host_->ask(sum), kDataAt);
    const std::uint32_t right = le32(host_->ask(sum), kDataAt);
    EXPECT_NE(first, right);
    EXPECT_EQ(right, le32(host_->ask(sum), kDataAt));
    controller_->addFault(rule("checksum:1d.01"));
    const std::uint32_t wrong = le32(host_->ask(sum), kDataAt);
    EXPECT_NE(wrong, right);
    EXPECT_EQ(le32(host_->ask(sum), kDataAt), wrong) << "always, and the same";
    controller_->addFault(rule("checksum-changing:1d.01"));
    const std::uint32_t changed = le32(host_->ask(sum), kDataAt);
    const std::uint32_t changedAgain = le32(host_->ask(sum), kDataAt);
    EXPECT_NE(changed, right);
    EXPECT_NE(changedAgain, right);
    EXPECT_NE(changed, changedAgain);

    host_->ask(withLe32(command(0x1D, 0x00), 8, 65536));
    host_->ask(withLe32(command(0x1E, 0x01), 4, 4096));
    EXPECT_NE(le32(host_->ask(command(0x1F, 8)), kDataAt), 4104u);
    EXPECT_EQ(le32(host_->ask(command(0x1F, 8)), kDataAt), 4112u) << "only once; the data went in";
}

TEST_F(Faults, LeavesTheBusAfterTheChosenCommandAndReturnsWhenAsked) {
    auto o = options();
    o.faults = {rule("leave:40.20,skip=1,times=1,ms=100")};
    start(o);
    host_->ask(command(0x40, 0x20));
    EXPECT_EQ(host_->removals(), 0u);
    EXPECT_TRUE(host_->exchange(command(0x40, 0x20))) << "answers before it leaves";
    ASSERT_TRUE(host_->waitCounts(2, 1)) << "left and came back";
    host_->ask(command(0x40, 0x20));

    controller_->unplug();
    ASSERT_TRUE(host_->waitPresent(false));
    controller_->plugIn();
    ASSERT_TRUE(host_->waitPresent(true));
}

TEST_F(Faults, ALeaveRuleOnTheRestartKeepsTheControllerAway) {
    auto o = options();
    o.faults = {rule("leave:11.00")};
    start(o);
    ASSERT_TRUE(host_->write(command(0x11, 0x00)));
    ASSERT_TRUE(controller_->waitFor([](const ControllerState&, bool onBus) { return !onBus; }, kDeadline));
    EXPECT_FALSE(controller_->waitFor([](const ControllerState&, bool onBus) { return onBus; }, kQuietTime))
        << "came back although the rule keeps it away";
    controller_->plugIn();
    ASSERT_TRUE(host_->waitPresent(true));
}

}  // namespace
}  // namespace simulator::test
