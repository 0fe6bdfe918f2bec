// One open, matching device of a slot: its number, its connection and its reader thread.
#pragma once

#include "Bus.h"
#include "UniqueFd.h"
#include "tarnlink/tarnlink.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace tarnlink {

// What a device takes from its slot when it is added.
struct SlotShare {
    std::mutex& ioLock;                          // held only while a read or write is issued
    const std::atomic<bool>& suspended;          // no report is delivered while the slot is suspended
    std::function<void(std::uint64_t)> onGone;   // the reader saw the device go (hang-up, EIO, ENODEV)
};

class Device {
public:
    Device(std::unique_ptr<DeviceLink> link, std::uint16_t number, UsagePair usage, TarnReportCallback callback,
           SlotShare share);
    // Ends the reader before the connection is closed.
    ~Device();
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;

    bool startReader();
    // Wakes the reader out of its poll and joins it. The I/O lock is never held across the poll, so it
    // is never left held.
    void stopReader();

    // Writes one report (the library's form), waiting at most kWriteTimeout for room on the bus.
    bool write(std::span<const std::uint8_t> report);

    std::uint16_t number() const { return number_; }
    // Unique for the life of the process: a late report of a gone device never hits a renumbered one.
    std::uint64_t serial() const { return serial_; }
    UsagePair usage() const { return usage_; }
    const DeviceIdentity& identity() const { return link_->identity(); }
    _DEVICE_STATE state(std::int32_t event) const;

    static constexpr std::chrono::milliseconds kWriteTimeout{2000};

private:
    void readLoop();

    std::unique_ptr<DeviceLink> link_;
    std::uint16_t number_;
    std::uint64_t serial_;
    UsagePair usage_;
    TarnReportCallback callback_;
    SlotShare share_;
    UniqueFd stop_;
    std::thread reader_;
};

}  // namespace tarnlink
