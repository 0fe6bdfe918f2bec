// The hidraw bus through libudev.
#include "HidrawBus.h"

#include <libudev.h>

#include <cstring>

namespace tarnlink {

struct HidrawBus::Monitor {
    udev* context;
    udev_monitor* monitor;
    const char* source;
};

HidrawBus::HidrawBus(std::unique_ptr<Monitor> monitor) : monitor_(std::move(monitor)) {}

std::unique_ptr<HidrawBus> HidrawBus::watch() {
    udev* context = udev_new();
    if (!context) return nullptr;
    const char* source = chooseMonitorSource();
    udev_monitor* monitor = udev_monitor_new_from_netlink(context, source);
    if (!monitor || udev_monitor_filter_add_match_subsystem_devtype(monitor, "hidraw", nullptr) < 0 ||
        udev_monitor_enable_receiving(monitor) < 0) {
        if (monitor) udev_monitor_unref(monitor);
        udev_unref(context);
        return nullptr;
    }
    return std::unique_ptr<HidrawBus>(new HidrawBus(std::make_unique<Monitor>(Monitor{context, monitor, source})));
}

HidrawBus::~HidrawBus() {
    udev_monitor_unref(monitor_->monitor);
    udev_unref(monitor_->context);
}

int HidrawBus::watchFd() const { return udev_monitor_get_fd(monitor_->monitor); }

const char* HidrawBus::monitorSource() const { return monitor_->source; }

void HidrawBus::readEvents(std::vector<BusEvent>& events) {
    // The monitor's socket is non-blocking: receive until it is empty.
    while (udev_device* device = udev_monitor_receive_device(monitor_->monitor)) {
        const char* action = udev_device_get_action(device);
        const char* node = udev_device_get_devnode(device);
        if (action && node) {
            if (std::strcmp(action, "add") == 0) events.push_back({BusEvent::Kind::Arrival, node});
            else if (std::strcmp(action, "remove") == 0) events.push_back({BusEvent::Kind::Removal, node});
        }
        udev_device_unref(device);
    }
}

std::vector<std::string> HidrawBus::enumerate() {
    // A context of its own: libudev objects must not be shared with the watcher thread.
    std::vector<std::string> nodes;
    udev* context = udev_new();
    if (!context) return nodes;
    udev_enumerate* enumeration = udev_enumerate_new(context);
    if (enumeration && udev_enumerate_add_match_subsystem(enumeration, "hidraw") >= 0 &&
        udev_enumerate_scan_devices(enumeration) >= 0) {
        udev_list_entry* entry = nullptr;
        udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(enumeration)) {
            udev_device* device = udev_device_new_from_syspath(context, udev_list_entry_get_name(entry));
            if (!device) continue;
            if (const char* node = udev_device_get_devnode(device)) nodes.emplace_back(node);
            udev_device_unref(device);
        }
    }
    if (enumeration) udev_enumerate_unref(enumeration);
    udev_unref(context);
    return nodes;
}

}  // namespace tarnlink
