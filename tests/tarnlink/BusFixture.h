// Test support: a private virtual bus folder per test, a recorder of notices and input reports, and
// waits on conditions with generous deadlines (the machine is shared and slow under sanitizers).
#pragma once

#include "TestDescriptors.h"
#include "tarnlink/VirtualDevice.h"
#include "tarnlink/tarnlink.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace tarnlink::test {

inline constexpr std::uint16_t kVendor = 0xF00D;  // ids that no real device on a developer's desk uses
inline constexpr std::uint16_t kProduct = 0x0B0B;
inline constexpr std::uint32_t kNoticeMessage = 1282;
inline constexpr auto kDeadline = std::chrono::seconds(20);

inline TarnDeviceFilter vendorFilter(std::uint16_t vendor = kVendor, std::uint16_t product = kProduct) {
    TarnDeviceFilter f{};
    f.vendorId = vendor;
    f.productId = product;
    f.pairCount = 1;
    f.pairs[0] = {1, 0xFF00};
    return f;
}

inline DeviceDescription description(const std::vector<std::uint8_t>& descriptor = kVendorDescriptor,
                                     std::uint16_t version = 0x0123) {
    return {kVendor, kProduct, version, descriptor};
}

// Everything a slot tells its client, in order.
class Recorder {
public:
    struct Report {
        std::int32_t device;
        std::vector<std::uint8_t> bytes;
    };

    static void onNotice(void* context, std::uint32_t message, std::uintptr_t wParam, const _DEVICE_STATE* s) {
        auto* self = static_cast<Recorder*>(context);
        EXPECT_EQ(message, kNoticeMessage);
        EXPECT_EQ(wParam, 1u);
        std::lock_guard lock(self->mutex_);
        self->notices_.push_back(*s);
        self->changed_.notify_all();
    }

    void addReport(std::int32_t device, const std::uint8_t* bytes, std::int32_t length) {
        std::lock_guard lock(mutex_);
        reports_.push_back({device, std::vector<std::uint8_t>(bytes, bytes + length)});
        changed_.notify_all();
    }

    std::vector<_DEVICE_STATE> notices() const {
        std::lock_guard lock(mutex_);
        return notices_;
    }
    std::vector<Report> reports() const {
        std::lock_guard lock(mutex_);
        return reports_;
    }

    // Waits until the notices satisfy pred; false after the deadline.
    bool waitNotices(const std::function<bool(const std::vector<_DEVICE_STATE>&)>& pred) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, kDeadline, [&] { return pred(notices_); });
    }
    bool waitNoticeCount(std::size_t count) {
        return waitNotices([count](const auto& n) { return n.size() >= count; });
    }
    bool waitReportCount(std::size_t count) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, kDeadline, [&] { return reports_.size() >= count; });
    }

private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<_DEVICE_STATE> notices_;
    std::vector<Report> reports_;
};

// The report callback has no context: one recorder per slot, reached through a per-slot function.
inline Recorder* g_reportRecorders[TARN_SLOT_COUNT] = {};
template <int Slot>
void recordReport(std::int32_t device, const std::uint8_t* bytes, std::int32_t length) {
    if (Recorder* r = g_reportRecorders[Slot]) r->addReport(device, bytes, length);
}
inline constexpr TarnReportCallback kReportCallbacks[TARN_SLOT_COUNT] = {
    recordReport<0>, recordReport<1>, recordReport<2>, recordReport<3>, recordReport<4>};

// A private bus folder for the test, announced through $TARNLINK_BUS; slot 0 is closed afterwards.
class BusFixture : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/tarnlink-test-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        bus_ = pattern;
        ::setenv("TARNLINK_BUS", bus_.c_str(), 1);
        g_reportRecorders[0] = &recorder_;
    }
    void TearDown() override {
        TarnClose(0);
        g_reportRecorders[0] = nullptr;
        std::error_code ignored;
        std::filesystem::remove_all(bus_, ignored);
    }

    std::unique_ptr<VirtualDevice> plug(const std::string& name, const DeviceDescription& d = description(),
                                        VirtualDevice::ReportHandler handler = {}) {
        auto device = VirtualDevice::publish(bus_, name, d, std::move(handler));
        EXPECT_TRUE(device) << name;
        return device;
    }

    std::int32_t openSlot(const TarnDeviceFilter& filter = vendorFilter()) {
        TarnSetFilter(&filter, 0);
        TarnSetReportCallback(kReportCallbacks[0], 0);
        return TarnOpen(&Recorder::onNotice, &recorder_, kNoticeMessage, 0);
    }

    std::string bus_;
    Recorder recorder_;
};

inline bool isAdded(const _DEVICE_STATE& s, std::uint16_t number) {
    return s.event == TARN_EVENT_ADDED && s.deviceNumber == number;
}
inline bool isRemoved(const _DEVICE_STATE& s, std::uint16_t number) {
    return s.event == TARN_EVENT_REMOVED && s.deviceNumber == number && s.vendorId != 0;
}
inline bool isNothingPresent(const _DEVICE_STATE& s) {
    const _DEVICE_STATE zero{};
    return std::memcmp(&s, &zero, sizeof s) == 0;
}

// Waits until pred holds; false after the deadline. For states that no notice announces.
inline bool eventually(const std::function<bool()>& pred) {
    const auto deadline = std::chrono::steady_clock::now() + kDeadline;
    while (!pred()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

}  // namespace tarnlink::test
