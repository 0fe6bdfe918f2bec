// The virtual controller's logic behind a kernel HID device: each output report the host writes to the
// hidraw node goes through the controller core, its reply comes back as an input report, and a switch
// between application firmware and boot loader destroys the device and creates it again with the other
// product id, as the real controller re-enumerates on USB.
//
// reportId 0 gives the controller's own descriptor (no report ids: the kernel hands over the hidraw
// write with its leading 0, which the device strips, since a real USB device receives only the 64
// bytes); a nonzero id gives the same collection with that report id on input and output.
#pragma once

#include "UhidDevice.h"

#include "simulator/ControllerCore.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kernel_guest {

class UhidController {
public:
    // Empty, with `error` set, when the first device cannot be created. `inBootLoader`: the controller
    // powers up in its boot loader (product id 0x0050) although its image is valid.
    static std::unique_ptr<UhidController> start(std::uint8_t reportId, std::string& error, bool inBootLoader = false);
    ~UhidController();
    UhidController(const UhidController&) = delete;
    UhidController& operator=(const UhidController&) = delete;

    // Destroys the kernel device / creates it again (a power cycle of the controller).
    void unplug();
    void plugIn();

    // Waits until the controller is (or is not) on the bus as the given firmware; false after timeoutMs.
    bool waitOnBus(simulator::Firmware firmware, bool onBus, int timeoutMs);

    simulator::ControllerState state() const;
    // Every output report exactly as the kernel handed it over, in order.
    std::vector<std::vector<std::uint8_t>> rawOutputs() const;
    // Output reports that did not start with the expected id byte, or were not 65 bytes long.
    std::size_t malformedOutputs() const;

private:
    UhidController(std::uint8_t reportId, simulator::ControllerCore core);
    bool plug(std::string& error);
    void run();
    // Answers one output report; what the bus side has to do next. Called with mutex_ held.
    simulator::BusAction handle(const std::vector<std::uint8_t>& raw);

    const std::uint8_t reportId_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    simulator::ControllerCore core_;
    std::unique_ptr<UhidDevice> device_;   // touched only under mutex_; read by the device thread
    std::vector<std::vector<std::uint8_t>> rawOutputs_;
    std::size_t malformed_ = 0;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

// The controller's report descriptor with the given report id on input and output (0: none).
std::vector<std::uint8_t> controllerDescriptor(std::uint8_t reportId);

}  // namespace kernel_guest
