// The hidraw backend where no HID device and no udevd exist: the monitor starts, enumeration of the
// (empty) system works, a slot opens with the hidraw backend in it, and nodes that are not hidraw are refused.
#include "BusFixture.h"
#include "HidrawBus.h"
#include "KernelUevent.h"
#if TARNLINK_SYSTEM_LIBRARIES
#include "LogindPower.h"
#endif

#include <fstream>

namespace tarnlink::test {
namespace {

TEST(Hidraw, MonitorListensToUdevdWhenItRunsAndToTheKernelOtherwise) {
    char pattern[] = "/tmp/tarnlink-udev-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    const std::string control = std::string(pattern) + "/control";
    EXPECT_STREQ(chooseMonitorSource(control), "kernel");
    std::ofstream(control) << "";
    EXPECT_STREQ(chooseMonitorSource(control), "udev");
    std::filesystem::remove_all(pattern);
}

TEST(Hidraw, MonitorStartsAndEnumerationMatchesTheSystem) {
    auto bus = HidrawBus::watch();
    ASSERT_TRUE(bus) << "udev monitor could not be started";
    EXPECT_GE(bus->watchFd(), 0);
#if TARNLINK_SYSTEM_LIBRARIES
    EXPECT_STREQ(bus->monitorSource(), chooseMonitorSource());
#else
    EXPECT_STREQ(bus->monitorSource(), "kernel");  // the build without libudev reads the kernel's uevents
#endif
    std::size_t nodes = 0;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/sys/class/hidraw", error)) {
        (void)entry;
        ++nodes;
    }
    EXPECT_EQ(bus->enumerate().size(), nodes);
    std::vector<BusEvent> events;
    bus->readEvents(events);  // nothing pending: returns at once
    EXPECT_TRUE(events.empty());
}

TEST(Hidraw, KernelUeventsGiveArrivalAndRemovalOfHidrawNodesOnly) {
    using namespace std::string_view_literals;
    struct Case {
        const char* what;
        std::string_view message;
        std::optional<BusEvent::Kind> kind;
        const char* node;
    };
    const Case cases[] = {
        {"add", "add@/devices/x/hidraw/hidraw3\0ACTION=add\0SUBSYSTEM=hidraw\0DEVNAME=hidraw3\0SEQNUM=7"sv,
         BusEvent::Kind::Arrival, "/dev/hidraw3"},
        {"remove", "remove@/devices/x/hidraw/hidraw3\0ACTION=remove\0DEVNAME=hidraw3\0SUBSYSTEM=hidraw\0"sv,
         BusEvent::Kind::Removal, "/dev/hidraw3"},
        {"other subsystem", "add@/devices/x\0ACTION=add\0SUBSYSTEM=usb\0DEVNAME=bus/usb/001/002\0"sv, {}, ""},
        {"change", "change@/x\0ACTION=change\0SUBSYSTEM=hidraw\0DEVNAME=hidraw0\0"sv, {}, ""},
        {"no node", "add@/x\0ACTION=add\0SUBSYSTEM=hidraw\0"sv, {}, ""},
        {"climbing node", "add@/x\0ACTION=add\0SUBSYSTEM=hidraw\0DEVNAME=../etc/passwd\0"sv, {}, ""},
        {"empty", ""sv, {}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto event = parseKernelUevent(c.message);
        ASSERT_EQ(event.has_value(), c.kind.has_value());
        if (!event) continue;
        EXPECT_EQ(event->kind, *c.kind);
        EXPECT_EQ(event->path, c.node);
    }
}

TEST(Hidraw, NodesThatAreNotHidrawAreRefused) {
    for (const char* path : {"/dev/null", "/dev/hidraw-missing", "/tmp"}) EXPECT_EQ(openHidraw(path), nullptr) << path;
}

#if TARNLINK_SYSTEM_LIBRARIES
TEST(Logind, NoReachableSystemBusMeansNoPowerSourceAndNoError) {
    const char* saved = std::getenv("DBUS_SYSTEM_BUS_ADDRESS");
    const std::string previous = saved ? saved : "";
    ::setenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/tarnlink-test-bus", 1);
    EXPECT_EQ(LogindPower::watch(), nullptr);
    if (saved) ::setenv("DBUS_SYSTEM_BUS_ADDRESS", previous.c_str(), 1);
    else ::unsetenv("DBUS_SYSTEM_BUS_ADDRESS");
}

#endif

using HidrawSlot = BusFixture;

TEST_F(HidrawSlot, SlotOpensOnAnEmptySystem) {
    // The virtual bus is empty too: the enumeration of every backend finds nothing.
    EXPECT_EQ(openSlot(), 0);
    ASSERT_EQ(recorder_.notices().size(), 1u);
    EXPECT_TRUE(isNothingPresent(recorder_.notices()[0]));
}

}  // namespace
}  // namespace tarnlink::test
