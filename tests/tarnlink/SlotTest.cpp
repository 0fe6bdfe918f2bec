// The slot model on the virtual bus: numbering, notices and their order, suspend and resume, the
// report contract and the write rule.
#include "BusFixture.h"

#include <dlfcn.h>

#include <atomic>

namespace tarnlink::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A device that keeps every output report it receives.
struct Sink {
    std::mutex mutex;
    std::condition_variable arrived;
    std::vector<Bytes> reports;

    VirtualDevice::ReportHandler handler() {
        return [this](VirtualDevice&, std::span<const std::uint8_t> r) {
            std::lock_guard lock(mutex);
            reports.emplace_back(r.begin(), r.end());
            arrived.notify_all();
        };
    }
    Bytes waitFirst() {
        std::unique_lock lock(mutex);
        if (!arrived.wait_for(lock, kDeadline, [&] { return !reports.empty(); })) return {};
        return reports.front();
    }
};

Bytes counting(std::size_t n) {
    Bytes b(n);
    for (std::size_t i = 0; i < n; ++i) b[i] = static_cast<std::uint8_t>(i + 1);
    return b;
}

using SlotTest = BusFixture;

TEST_F(SlotTest, NothingPresentGivesOneAllZeroNoticeAndZero) {
    EXPECT_EQ(openSlot(), 0);
    const auto notices = recorder_.notices();
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_TRUE(isNothingPresent(notices[0]));
}

TEST_F(SlotTest, OneDeviceIsNumberOneAndOpenReturnsTwo) {
    auto device = plug("controller");
    EXPECT_EQ(openSlot(), 2);
    const auto notices = recorder_.notices();
    ASSERT_EQ(notices.size(), 1u);
    const _DEVICE_STATE& s = notices[0];
    EXPECT_TRUE(isAdded(s, 1));
    EXPECT_EQ(s.vendorId, kVendor);
    EXPECT_EQ(s.productId, kProduct);
    EXPECT_EQ(s.usage, 1);
    EXPECT_EQ(s.usagePage, 0xFF00);
    EXPECT_EQ(s.reserved, 0);
    EXPECT_EQ(TarnGetVersion(0), 0x0123);
}

TEST_F(SlotTest, TheDevicePathIsItsPlaceOnTheBus) {
    auto device = plug("controller");
    ASSERT_EQ(openSlot(), 2);
    const std::string path = bus_ + "/controller";
    char buffer[512];
    EXPECT_EQ(TarnGetDevicePath(1, buffer, sizeof buffer, 0), static_cast<int32_t>(path.size()));
    EXPECT_EQ(std::string(buffer), path);
    EXPECT_EQ(TarnGetDevicePath(1, buffer, static_cast<int32_t>(path.size()), 0), 0) << "no room for the zero";
    EXPECT_EQ(TarnGetDevicePath(2, buffer, sizeof buffer, 0), 0) << "no device 2";
    EXPECT_EQ(TarnGetDevicePath(1, buffer, sizeof buffer, 3), 0) << "another slot";
    EXPECT_EQ(TarnGetDevicePath(1, nullptr, sizeof buffer, 0), 0);
}

TEST_F(SlotTest, FilterDecidesTheMatch) {
    auto device = plug("controller");
    struct Case {
        const char* what;
        TarnDeviceFilter filter;
        bool matches;
    };
    TarnDeviceFilter noPairs = vendorFilter();
    noPairs.pairCount = 0;
    TarnDeviceFilter otherProduct = vendorFilter(kVendor, kProduct + 1);
    TarnDeviceFilter secondPair = vendorFilter();
    secondPair.pairCount = 2;
    secondPair.pairs[0] = {6, 0x01};
    secondPair.pairs[1] = {1, 0xFF00};
    TarnDeviceFilter pairBeyondCount = secondPair;
    pairBeyondCount.pairCount = 1;
    for (const Case& c : {Case{"pair count 0", noPairs, false}, Case{"other product", otherProduct, false},
                          Case{"second pair", secondPair, true}, Case{"pair beyond count", pairBeyondCount, false}}) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(openSlot(c.filter), c.matches ? 2 : 0);
        TarnClose(0);
    }
}

TEST_F(SlotTest, ReplugGivesRemovedOneThenAddedTwo) {
    auto device = plug("controller");
    ASSERT_EQ(openSlot(), 2);
    device.reset();
    ASSERT_TRUE(recorder_.waitNoticeCount(2));
    EXPECT_TRUE(isRemoved(recorder_.notices()[1], 1));
    device = plug("controller");
    ASSERT_TRUE(recorder_.waitNoticeCount(3));
    const auto notices = recorder_.notices();
    EXPECT_TRUE(isAdded(notices[2], 2));
    EXPECT_EQ(notices[2].vendorId, kVendor);
    EXPECT_EQ(notices.size(), 3u);
}

TEST_F(SlotTest, SuspendRemovesEveryDeviceAndResumeNumbersFromOne) {
    auto a = plug("a");
    auto b = plug("b");
    ASSERT_EQ(openSlot(), 3);
    ASSERT_TRUE(raiseVirtualPowerEvent(bus_, true));
    ASSERT_TRUE(recorder_.waitNoticeCount(4));
    auto n = recorder_.notices();
    EXPECT_TRUE(isRemoved(n[2], 1));
    EXPECT_TRUE(isRemoved(n[3], 2));
    EXPECT_EQ(TarnWrite(1, "x", 1, 0), 0);  // suspended

    ASSERT_TRUE(raiseVirtualPowerEvent(bus_, false));
    ASSERT_TRUE(recorder_.waitNoticeCount(6));
    n = recorder_.notices();
    EXPECT_TRUE(isAdded(n[4], 1));
    EXPECT_TRUE(isAdded(n[5], 2));
    EXPECT_EQ(TarnWrite(1, "x", 1, 0), 1);
}

TEST_F(SlotTest, ResumeWithNothingPresentGivesTheAllZeroNotice) {
    auto device = plug("controller");
    ASSERT_EQ(openSlot(), 2);
    ASSERT_TRUE(raiseVirtualPowerEvent(bus_, true));
    ASSERT_TRUE(recorder_.waitNoticeCount(2));
    device.reset();
    ASSERT_TRUE(raiseVirtualPowerEvent(bus_, false));
    ASSERT_TRUE(recorder_.waitNoticeCount(3));
    EXPECT_TRUE(isNothingPresent(recorder_.notices()[2]));
}

TEST_F(SlotTest, CloseSendsNoNoticeAndResetsNumbering) {
    auto device = plug("controller");
    ASSERT_EQ(openSlot(), 2);
    TarnClose(0);
    EXPECT_EQ(recorder_.notices().size(), 1u);  // every thread of the slot has ended: nothing can follow
    EXPECT_EQ(TarnGetVersion(0), 0);
    EXPECT_EQ(openSlot(), 2);
    EXPECT_TRUE(isAdded(recorder_.notices().back(), 1));
}

TEST_F(SlotTest, SecondOpenListsNoDeviceTwice) {
    auto device = plug("controller");
    ASSERT_EQ(openSlot(), 2);
    EXPECT_EQ(openSlot(), 2);
    EXPECT_EQ(recorder_.notices().size(), 1u);
}

TEST_F(SlotTest, WriteWithoutReportIdsSendsTheDataAsOneZeroFilledReport) {
    Sink sink;
    auto device = plug("controller", description(), sink.handler());
    ASSERT_EQ(openSlot(), 2);
    const Bytes data = {0x10, 0x20, 0x30};
    ASSERT_EQ(TarnWrite(1, data.data(), 3, 0), 1);
    // On the wire a device without report ids gets no id byte: 64 data bytes.
    Bytes expected(64, 0);
    std::copy(data.begin(), data.end(), expected.begin());
    EXPECT_EQ(sink.waitFirst(), expected);
}

TEST_F(SlotTest, WriteCarriesTheReportIdOfTheMatchingCollectionsFirstOutputItem) {
    struct Case {
        const char* what;
        const Bytes* descriptor;
        std::size_t dataLength;
    };
    for (const Case& c : {Case{"composite", &kCompositeDescriptor, 32},
                          Case{"keyboard leds before the vendor collection", &kKeyboardLedsAndVendorDescriptor, 64}}) {
        SCOPED_TRACE(c.what);
        Sink sink;
        auto device = plug("composite", description(*c.descriptor), sink.handler());
        ASSERT_EQ(openSlot(), 2);
        EXPECT_EQ(recorder_.notices().back().usagePage, 0xFF00);  // the matching collection, not the first one
        const Bytes data = counting(c.dataLength);
        ASSERT_EQ(TarnWrite(1, data.data(), static_cast<std::int32_t>(c.dataLength), 0), 1);
        Bytes expected = {3};
        expected.insert(expected.end(), data.begin(), data.end());
        EXPECT_EQ(sink.waitFirst(), expected);
        TarnClose(0);
    }
}

TEST_F(SlotTest, WritesThatBreakTheRulesReturnZero) {
    auto device = plug("controller");
    ASSERT_EQ(openSlot(), 2);
    const Bytes data = counting(65);
    struct Case {
        const char* what;
        std::int32_t number;
        std::int32_t length;
        std::int32_t slot;
    };
    for (const Case& c : {Case{"device 0", 0, 64, 0}, Case{"unknown device", 9, 64, 0},
                          Case{"longer than the report", 1, 65, 0}, Case{"negative length", 1, -1, 0},
                          Case{"slot below range", 1, 64, -1}, Case{"slot above range", 1, 64, 5}}) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(TarnWrite(c.number, data.data(), c.length, c.slot), 0);
    }
    EXPECT_EQ(TarnWrite(1, data.data(), 64, 0), 1);
    EXPECT_EQ(TarnWrite(1, nullptr, 0, 0), 1);
}

TEST_F(SlotTest, DeviceWithoutOutputItemCannotBeWritten) {
    DeviceDescription mouse = description(kMouseDescriptor);
    auto device = plug("mouse", mouse);
    TarnDeviceFilter filter = vendorFilter();
    filter.pairs[0] = {2, 0x01};
    ASSERT_EQ(openSlot(filter), 2);
    EXPECT_EQ(TarnWrite(1, "x", 1, 0), 0);
}

TEST_F(SlotTest, InputReportReachesTheCallbackWithItsIdInByteZero) {
    auto plain = plug("a-plain");  // devices are enumerated in name order
    auto numbered = plug("b-numbered", description(kVendorNumberedDescriptor));
    ASSERT_EQ(openSlot(), 3);
    const Bytes data = counting(64);
    ASSERT_TRUE(plain->sendReport(data));
    ASSERT_TRUE(recorder_.waitReportCount(1));
    Bytes numberedReport = {2, 9, 8, 7, 6, 5, 4, 3, 2};
    ASSERT_TRUE(numbered->sendReport(numberedReport));
    ASSERT_TRUE(recorder_.waitReportCount(2));

    const auto reports = recorder_.reports();
    EXPECT_EQ(reports[0].device, 1);
    Bytes expected = {0};
    expected.insert(expected.end(), data.begin(), data.end());
    EXPECT_EQ(reports[0].bytes, expected);
    EXPECT_EQ(reports[1].device, 2);
    ASSERT_EQ(reports[1].bytes.size(), 65u);  // the input report byte length, not the bytes received
    EXPECT_EQ(Bytes(reports[1].bytes.begin(), reports[1].bytes.begin() + 9), numberedReport);
}

TEST_F(SlotTest, ReportOfAnotherLengthIsDropped) {
    auto device = plug("controller");
    ASSERT_EQ(openSlot(), 2);
    ASSERT_TRUE(device->sendReport(Bytes(10, 0xAA)));
    ASSERT_TRUE(device->sendReport(Bytes(65, 0xBB)));
    ASSERT_TRUE(device->sendReport(Bytes(64, 0xCC)));
    ASSERT_TRUE(recorder_.waitReportCount(1));
    // Packets keep their order: once the good one is in, the others were dropped.
    const auto reports = recorder_.reports();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].bytes[1], 0xCC);
}

TEST_F(SlotTest, ReportsOfOtherCollectionsOfTheDeviceAreDropped) {
    auto device = plug("composite", description(kCompositeDescriptor));
    ASSERT_EQ(openSlot(), 2);  // matches the vendor collection (report 3)
    ASSERT_TRUE(device->sendReport(Bytes{1, 0, 0, 4, 0, 0, 0, 0}));  // keyboard
    ASSERT_TRUE(device->sendReport(Bytes{2, 0xE9, 0}));               // consumer control
    Bytes vendor = {3};
    const Bytes data = counting(32);
    vendor.insert(vendor.end(), data.begin(), data.end());
    ASSERT_TRUE(device->sendReport(vendor));
    ASSERT_TRUE(recorder_.waitReportCount(1));
    const auto reports = recorder_.reports();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].bytes, vendor);
}

TEST_F(SlotTest, CallbackIsTakenWhenTheDeviceIsAdded) {
    auto device = plug("controller");
    ASSERT_EQ(openSlot(), 2);
    TarnSetReportCallback(nullptr, 0);  // does not reach the open device
    ASSERT_TRUE(device->sendReport(Bytes(64, 1)));
    EXPECT_TRUE(recorder_.waitReportCount(1));
}

TEST_F(SlotTest, OperationsOnSlotsOutsideTheRangeDoNothing) {
    const TarnDeviceFilter filter = vendorFilter();
    for (const std::int32_t slot : {-1, 5, 1000}) {
        EXPECT_EQ(TarnSetFilter(&filter, slot), 0);
        EXPECT_EQ(TarnSetReportCallback(nullptr, slot), 0);
        EXPECT_EQ(TarnOpen(&Recorder::onNotice, &recorder_, kNoticeMessage, slot), 0);
        EXPECT_EQ(TarnGetVersion(slot), 0);
        TarnClose(slot);
    }
    EXPECT_TRUE(recorder_.notices().empty());
}

TEST_F(SlotTest, SlotsAreIndependent) {
    auto device = plug("controller");
    ASSERT_EQ(openSlot(), 2);
    Recorder other;
    const TarnDeviceFilter none = vendorFilter(kVendor, 0x7777);
    TarnSetFilter(&none, 3);
    EXPECT_EQ(TarnOpen(&Recorder::onNotice, &other, kNoticeMessage, 3), 0);
    EXPECT_EQ(TarnWrite(1, "x", 1, 3), 0);
    EXPECT_EQ(TarnWrite(1, "x", 1, 0), 1);
    TarnClose(3);
    EXPECT_TRUE(isNothingPresent(other.notices().at(0)));
}

using OrdinalFunction = void (*)(void);

TEST(SharedLibrary, ExportsTheOperationsByOrdinal) {
    void* library = ::dlopen(TARNLINK_SHARED_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << ::dlerror();
    using Lookup = OrdinalFunction (*)(std::uint32_t);
    const auto lookup = reinterpret_cast<Lookup>(::dlsym(library, "TarnGetProcByOrdinal"));
    ASSERT_NE(lookup, nullptr);
    const std::pair<std::uint32_t, const char*> ordinals[] = {{2, "TarnOpen"},  {3, "TarnClose"},
                                                              {4, "TarnSetFilter"}, {5, "TarnSetReportCallback"},
                                                              {6, "TarnWrite"}, {13, "TarnGetVersion"}};
    for (const auto& [ordinal, name] : ordinals)
        EXPECT_EQ(reinterpret_cast<void*>(lookup(ordinal)), ::dlsym(library, name)) << name;
    EXPECT_EQ(lookup(1), nullptr);
    EXPECT_EQ(lookup(7), nullptr);
    // Internal symbols stay hidden: only the C interface is exported.
    EXPECT_EQ(::dlsym(library, "_ZN8tarnlink21parseReportDescriptorESt4spanIKhLm18446744073709551615EE"), nullptr);
    const auto getVersion = reinterpret_cast<std::uint16_t (*)(std::int32_t)>(lookup(13));
    EXPECT_EQ(getVersion(4), 0);
    ::dlclose(library);
}

}  // namespace
}  // namespace tarnlink::test
