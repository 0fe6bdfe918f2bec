// hidraw backend: devices under /dev/hidraw*, found through libudev, watched by a udev monitor.
#pragma once

#include "Bus.h"

#include <memory>
#include <string>

struct udev;
struct udev_monitor;

namespace tarnlink {

// Where the monitor listens: "udev" (events after udevd has processed them) when udevd runs, which is
// when its control socket exists; otherwise "kernel" (raw uevents), so hot-plug still works without udevd.
const char* chooseMonitorSource(const std::string& udevControlPath = "/run/udev/control");

class HidrawBus final : public Bus {
public:
    // Starts the monitor (before any enumeration, so that no arrival is missed); null when libudev or
    // the netlink socket is not available, and the hidraw backend then stays out of the slot.
    static std::unique_ptr<HidrawBus> watch();
    ~HidrawBus() override;

    int watchFd() const override;
    void readEvents(std::vector<BusEvent>& events) override;
    std::vector<std::string> enumerate() override;
    std::unique_ptr<DeviceLink> open(const std::string& path) override;

    const char* monitorSource() const { return source_; }

private:
    HidrawBus(udev* context, udev_monitor* monitor, const char* source)
        : udev_(context), monitor_(monitor), source_(source) {}
    udev* udev_;
    udev_monitor* monitor_;
    const char* source_;
};

// Opens one hidraw node and reads its identity (HIDIOCGRAWINFO, HIDIOCGRDESC, release number from sysfs).
std::unique_ptr<DeviceLink> openHidraw(const std::string& node);

}  // namespace tarnlink
