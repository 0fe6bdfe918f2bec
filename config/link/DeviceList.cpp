#include "DeviceList.h"

#include <algorithm>

namespace config {

namespace {
constexpr std::uint16_t kVendorUsagePage = 0xFF00;
}

bool DeviceList::Remove(std::uint16_t deviceNumber) {
    const auto it = std::find_if(entries_.begin(), entries_.end(),
                                 [deviceNumber](const _DEVICE_STATE& d) { return d.deviceNumber == deviceNumber; });
    if (it == entries_.end()) {
        return false;
    }
    entries_.erase(it);
    return true;
}

std::int32_t DeviceList::TargetDeviceNumber() const {
    if (entries_.empty()) {
        return 0;
    }
    const auto it = std::find_if(entries_.begin(), entries_.end(),
                                 [](const _DEVICE_STATE& d) { return d.usagePage == kVendorUsagePage; });
    return it != entries_.end() ? it->deviceNumber : entries_.back().deviceNumber;
}

}  // namespace config
