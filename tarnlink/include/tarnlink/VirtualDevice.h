// Device side of the virtual bus: publishes one device as a socket in the bus folder, describes it to
// every host that connects, hands each report a host writes to a handler and sends reports to the hosts.
// Used by the virtual controller and by the tests.
#pragma once

#include "tarnlink/VirtualWire.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

namespace tarnlink {

class VirtualDevice {
public:
    // Receives each output report as it came over the wire (report id byte only when the device numbers
    // its reports). Runs on the device's own thread.
    using ReportHandler = std::function<void(VirtualDevice& device, std::span<const std::uint8_t> report)>;

    // Publishes the device as <busFolder>/<name>. Null when the socket cannot be made.
    static std::unique_ptr<VirtualDevice> publish(const std::string& busFolder, const std::string& name,
                                                  const DeviceDescription& description,
                                                  ReportHandler onReport = {});
    // Unplugs: removes the socket file and hangs up on every host.
    ~VirtualDevice();
    VirtualDevice(const VirtualDevice&) = delete;
    VirtualDevice& operator=(const VirtualDevice&) = delete;

    // Sends one input report, as on the wire, to every connected host; false when no host took it.
    bool sendReport(std::span<const std::uint8_t> report);
    std::size_t hostCount() const;
    const std::string& path() const;

    class Impl;

private:
    explicit VirtualDevice(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

// Raises a power event ("suspend" or "resume") for every slot watching the bus.
bool raiseVirtualPowerEvent(const std::string& busFolder, bool suspend);

}  // namespace tarnlink
