// A virtual controller on the virtual bus: publishes the device, answers its reports on its own thread,
// leaves and returns with the other product id when it switches between application firmware and boot
// loader, applies the fault rules, and keeps its state file. Usable in-process: start, inspect, press
// its buttons, inject faults, stop.
#pragma once

#include "simulator/ControllerCore.h"
#include "simulator/Faults.h"
#include "simulator/Target.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace simulator {

struct ControllerOptions {
    std::string busFolder;                       // empty: the library's default bus folder
    std::string name = "virtual-controller";     // the device's name in the bus folder
    std::string stateFile;                       // empty: nothing is kept between runs
    std::vector<TargetConfig> targets{defaultTargetConfig()};
    std::vector<FaultRule> faults;
    bool startInBootLoader = false;
    // One report per millisecond each way, like a full-speed interrupt endpoint.
    bool usbTiming = false;
    // How long the device is away from the bus when it restarts into the other firmware.
    std::chrono::milliseconds replugDelay{300};
    // Lines worth telling a person (restarts, faults acting, saves); called on the controller's thread.
    std::function<void(const std::string&)> onLog;
};

// The report descriptor of the controller: vendor page 0xFF00, usage 1, 64 bytes in and out, no ids.
const std::vector<std::uint8_t>& controllerReportDescriptor();

class VirtualController {
public:
    struct Started {
        std::unique_ptr<VirtualController> controller;   // empty when it could not start
        std::string error;
        std::vector<std::string> warnings;               // e.g. an unreadable state file moved aside
    };
    static Started start(ControllerOptions options);

    // Stops: leaves the bus and saves the state file.
    ~VirtualController();
    VirtualController(const VirtualController&) = delete;
    VirtualController& operator=(const VirtualController&) = delete;

    // A copy of the whole state (settings, session, every target's flash).
    ControllerState state() const;
    Firmware firmware() const;
    bool onBus() const;
    std::string devicePath() const;
    // Counts every handled report, button press and bus change; waiters use it.
    std::uint64_t changeCount() const;
    // Waits until pred holds for the state; false after the timeout.
    bool waitFor(const std::function<bool(const ControllerState&, bool onBus)>& pred,
                 std::chrono::milliseconds timeout) const;
    // Runs fn on the live state under the controller's lock (for displays that need only a little);
    // fn must not call back into the controller.
    void inspect(const std::function<void(const ControllerState&, bool onBus)>& fn) const;

    void pressEffectButton();
    void pressProfileButton();
    void addFault(const FaultRule& rule);
    void clearFaults();
    // Takes the device off the bus / puts it back (a power cycle: live settings restart from the stored).
    void unplug();
    void plugIn();

    const ControllerOptions& options() const;

    class Impl;

private:
    explicit VirtualController(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

}  // namespace simulator
