// One kernel HID device made through /dev/uhid, as a USB device would appear to the kernel: created with
// its ids and report descriptor, gone when the object goes (closing /dev/uhid destroys it). The kernel
// puts a hidraw node on it, which is what the device-access library opens.
#pragma once

#include "HidBindWatch.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kernel_guest {

struct UhidIdentity {
    std::string name;
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::uint16_t version = 0;
    std::vector<std::uint8_t> reportDescriptor;
};

class UhidDevice {
public:
    // Empty, with `error` set, when /dev/uhid cannot be opened or refuses the device.
    static std::unique_ptr<UhidDevice> create(const UhidIdentity& identity, std::string& error);
    ~UhidDevice();
    UhidDevice(const UhidDevice&) = delete;
    UhidDevice& operator=(const UhidDevice&) = delete;

    // The next output report the host wrote, exactly as the kernel hands it over (for a device without
    // report ids that includes the leading 0 of the hidraw write); nothing when none came within the
    // time-out. Other events of the kernel (start, open, close) are consumed on the way.
    std::optional<std::vector<std::uint8_t>> waitForOutput(int timeoutMs);
    // Sends one input report as the device's interrupt endpoint would (with its id byte first when
    // the descriptor has report ids). The first one waits until the kernel has bound the device: an
    // earlier report would be dropped by the kernel (see HidBindWatch.h).
    bool sendInput(std::span<const std::uint8_t> report);

private:
    UhidDevice(int fd, std::string uniq) : fd_(fd), bindWatch_(std::move(uniq)) {}
    int fd_;
    HidBindWatch bindWatch_;
};

}  // namespace kernel_guest
