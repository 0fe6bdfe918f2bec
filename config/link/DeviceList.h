// The devices a controller link has been told of, in order of arrival, and the rule that picks the
// one its commands go to.
#pragma once

#include "tarnlink/tarnlink.h"

#include <cstdint>
#include <vector>

namespace config {

class DeviceList {
public:
    // Appends the record of an added device.
    void Add(const _DEVICE_STATE& device) { entries_.push_back(device); }
    // Removes the first entry with that device number; false when no entry has it.
    bool Remove(std::uint16_t deviceNumber);
    void Clear() { entries_.clear(); }
    bool Empty() const { return entries_.empty(); }
    const std::vector<_DEVICE_STATE>& Entries() const { return entries_; }

    // The device number of the first entry on the vendor usage page 0xFF00; without one, that of the
    // last entry; 0 when the list is empty (a write to it fails).
    std::int32_t TargetDeviceNumber() const;

private:
    std::vector<_DEVICE_STATE> entries_;
};

}  // namespace config
