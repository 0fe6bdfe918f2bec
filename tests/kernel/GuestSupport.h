// What the guest tests share: the kernel devices of the controller as the system sees them in sysfs,
// and a recorder for the notices and input reports of an instance slot.
#pragma once

#include "tarnlink/tarnlink.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <mutex>
#include <vector>

namespace kernel_guest {

inline constexpr auto kDeadline = std::chrono::seconds(10);

// True once a hidraw node of a HID device with these ids exists (present) or none does (!present).
// The kernel adds a uhid device on a worker of its own, so the node comes a little after UHID_CREATE2.
bool waitForHidraw(std::uint16_t vendorId, std::uint16_t productId, bool present);

struct InputReport {
    std::int32_t deviceNumber;
    std::vector<std::uint8_t> bytes;
};

// Records notices (through the notice function's context) and input reports (through the one report
// callback, which has no context: one recorder at a time is installed).
class SlotRecorder {
public:
    SlotRecorder();
    ~SlotRecorder();

    static void OnNotice(void* context, std::uint32_t message, std::uintptr_t wParam, const _DEVICE_STATE* state);
    static void OnReport(std::int32_t deviceNumber, const std::uint8_t* report, std::int32_t length);

    std::vector<_DEVICE_STATE> notices() const;
    std::vector<InputReport> reports() const;
    std::vector<std::uint32_t> messages() const;
    // Waits until `condition` holds on the recorded notices or reports; false after the deadline.
    bool waitForNotices(const std::function<bool(const std::vector<_DEVICE_STATE>&)>& condition) const;
    bool waitForReports(std::size_t count) const;

private:
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::vector<_DEVICE_STATE> notices_;
    std::vector<std::uint32_t> messages_;
    std::vector<InputReport> reports_;
};

// A notice of a device of the controller's collection (usage page 0xFF00, usage 1).
_DEVICE_STATE controllerNotice(std::int32_t event, std::uint16_t deviceNumber, std::uint16_t productId);

}  // namespace kernel_guest

// _DEVICE_STATE lives in the global namespace, where the test macros look for these.
bool operator==(const _DEVICE_STATE& a, const _DEVICE_STATE& b);
std::ostream& operator<<(std::ostream& out, const _DEVICE_STATE& s);
