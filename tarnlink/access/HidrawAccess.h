// Controllers that are plugged in but that this user may not open: hidraw nodes whose HID device has
// the controller's vendor and product ids (application firmware or boot loader) and whose open fails
// with EACCES or EPERM. The device-access library skips such nodes like absent ones; this look tells
// the programs why no controller showed up.
//
// The ids come from sysfs (the uevent file of the node's HID device), which every user may read, so a
// node is recognised without opening it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tarnlink {

inline constexpr std::uint16_t kControllerVendorId = 0x2516;
inline constexpr std::uint16_t kControllerProductId = 0x004F;    // application firmware
inline constexpr std::uint16_t kBootLoaderProductId = 0x0050;   // boot loader

struct DeniedController {
    std::string node;  // e.g. "/dev/hidraw3"
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    int error = 0;     // EACCES or EPERM

    bool bootLoader() const { return productId == kBootLoaderProductId; }
};

// Where hidraw nodes are described and where they live.
struct HidrawTree {
    std::string classFolder = "/sys/class/hidraw";  // one entry per node, <entry>/device/uevent
    std::string deviceFolder = "/dev";               // the node of entry N is <deviceFolder>/N
};

// The system's tree; with TARNLINK_HIDRAW_ROOT set (a folder standing for "/", for tests), its
// sys/class/hidraw and dev.
HidrawTree systemHidrawTree();

// The controllers of `tree` that cannot be opened for reading and writing because access is denied,
// ordered by node. Nodes that open, that are busy or gone, or that belong to other devices are left out.
std::vector<DeniedController> findDeniedControllers(const HidrawTree& tree = systemHidrawTree());

// The vendor and product ids in the text of a HID device's uevent file (its "HID_ID=bus:vendor:product"
// line); false when there is no such line.
bool parseHidIdentity(const std::string& ueventText, std::uint16_t& vendorId, std::uint16_t& productId);

}  // namespace tarnlink
