// What a backend supplies to a slot: candidate devices, open connections to them, and events
// (arrival, removal, suspend, resume) from a file descriptor that the slot's watcher polls.
#pragma once

#include "tarnlink/ReportDescriptor.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace tarnlink {

struct DeviceIdentity {
    std::string path;  // unique across buses; removals are reconciled by it
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::uint16_t version = 0;
    ReportCapabilities caps;
};

enum class IoResult { Done, WouldBlock, Gone, Failed };

// One open device. Reads and writes never block; the slot waits in poll on fd().
class DeviceLink {
public:
    virtual ~DeviceLink() = default;
    virtual const DeviceIdentity& identity() const = 0;
    virtual int fd() const = 0;
    // One input report as the device sent it (id byte only when the device numbers its reports).
    // Done with length 0 is a packet without bytes, or the end of the stream when poll says hang-up.
    virtual IoResult readReport(std::span<std::uint8_t> buffer, std::size_t& length) = 0;
    // One output report in the library's form: report id (or 0) first, then the data.
    virtual IoResult writeReport(std::span<const std::uint8_t> report) = 0;
};

struct BusEvent {
    enum class Kind { Arrival, Removal, Suspend, Resume };
    Kind kind;
    std::string path;  // arrival and removal
};

// enumerate() and open() run on the caller's thread while the watcher thread calls readEvents(): they
// share no mutable state.
class Bus {
public:
    virtual ~Bus() = default;
    virtual int watchFd() const = 0;
    virtual short watchEvents() const { return 0x001; /* POLLIN */ }
    // Milliseconds until the bus needs readEvents() without activity on its fd; -1 for never.
    virtual int watchTimeoutMs() const { return -1; }
    virtual void readEvents(std::vector<BusEvent>& events) = 0;
    virtual std::vector<std::string> enumerate() { return {}; }
    // A connection to the device at path with its identity, or null when it cannot be opened or does
    // not describe itself soundly.
    virtual std::unique_ptr<DeviceLink> open(const std::string& /*path*/) { return nullptr; }
};

}  // namespace tarnlink
