// The device list's choice of the device that commands go to.
#include "DeviceList.h"

#include <gtest/gtest.h>

namespace {

_DEVICE_STATE Device(std::uint16_t number, std::uint16_t usagePage) {
    _DEVICE_STATE state{};
    state.event = TARN_EVENT_ADDED;
    state.deviceNumber = number;
    state.vendorId = 0x2516;
    state.productId = 0x004F;
    state.usage = 1;
    state.usagePage = usagePage;
    return state;
}

TEST(DeviceList, TargetIsTheFirstVendorPageEntryElseTheLastElseNone) {
    config::DeviceList list;
    EXPECT_EQ(list.TargetDeviceNumber(), 0);
    list.Add(Device(4, 0x0001));
    list.Add(Device(5, 0x000C));
    EXPECT_EQ(list.TargetDeviceNumber(), 5) << "no vendor page: the last entry";
    list.Add(Device(6, 0xFF00));
    list.Add(Device(7, 0xFF00));
    EXPECT_EQ(list.TargetDeviceNumber(), 6);

    EXPECT_TRUE(list.Remove(6));
    EXPECT_EQ(list.TargetDeviceNumber(), 7);
    EXPECT_FALSE(list.Remove(6)) << "not listed any more";
    EXPECT_EQ(list.Entries().size(), 3u);
}

TEST(DeviceList, RemoveTakesOneEntryOfTheNumber) {
    config::DeviceList list;
    list.Add(Device(2, 0xFF00));
    list.Add(Device(2, 0xFF00));
    EXPECT_TRUE(list.Remove(2));
    ASSERT_EQ(list.Entries().size(), 1u);
    EXPECT_TRUE(list.Remove(2));
    EXPECT_TRUE(list.Empty());
}

}  // namespace
