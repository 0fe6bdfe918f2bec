// hidraw backend: devices under /dev/hidraw*, found and watched through libudev or the kernel's uevents.
#pragma once

#include "Bus.h"

#include <memory>
#include <string>

namespace tarnlink {

// Where the monitor listens: "udev" (events after udevd has processed them) when udevd runs, which is
// when its control socket exists; otherwise "kernel" (raw uevents), so hot-plug still works without udevd.
const char* chooseMonitorSource(const std::string& udevControlPath = "/run/udev/control");

// Opens one hidraw node and reads its identity (HIDIOCGRAWINFO, HIDIOCGRDESC, release number from sysfs).
std::unique_ptr<DeviceLink> openHidraw(const std::string& node);

// Two builds of it: through libudev (the default), or, for statically linked programs (libudev exists
// only as a shared library), through sysfs and the kernel's uevent socket (TARNLINK_SYSTEM_LIBRARIES=OFF).
class HidrawBus final : public Bus {
public:
    // Starts the monitor (before any enumeration, so that no arrival is missed); null when the netlink
    // socket is not available, and the hidraw backend then stays out of the slot.
    static std::unique_ptr<HidrawBus> watch();
    ~HidrawBus() override;

    int watchFd() const override;
    void readEvents(std::vector<BusEvent>& events) override;
    std::vector<std::string> enumerate() override;
    std::unique_ptr<DeviceLink> open(const std::string& path) override { return openHidraw(path); }

    const char* monitorSource() const;

    struct Monitor;

private:
    explicit HidrawBus(std::unique_ptr<Monitor> monitor);
    std::unique_ptr<Monitor> monitor_;
};


}  // namespace tarnlink
