// The controller's behaviour without any bus: the application firmware's command set, the boot loader's
// command set, the effect button, and which firmware runs after a restart. One report in, at most one
// reply out, plus what the bus side has to do (leave and come back as the other firmware).
#pragma once

#include "simulator/Lighting.h"
#include "simulator/Report.h"
#include "simulator/Target.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace simulator {

enum class Firmware { Application, BootLoader };

// State that lives only while the controller is powered.
struct SessionState {
    std::uint8_t mode = 0;               // last SetMode value
    std::uint32_t eventWord = 0;         // last SetEventConfig value
    std::uint8_t eventByte = 0;
    bool eventsConfigured = false;
    std::uint32_t selectedTarget = 0;
    bool conversionTablesComplete = false;   // the end marker (index 0xFFFF) arrived
};

struct ControllerState {
    Firmware firmware = Firmware::Application;
    ControllerSettings live;     // what the LEDs show and the read commands return
    ControllerSettings stored;   // what StoreSettings saved; live starts from it at power-up
    SessionState session;
    std::vector<Target> targets;
    std::uint64_t commandsHandled = 0;
    std::uint64_t commandsRefused = 0;
};

enum class BusAction { None, EnterBootLoader, LeaveBootLoader };

struct Outcome {
    std::optional<Report> reply;
    BusAction action = BusAction::None;
    bool settingsStored = false;
    bool flashChanged = false;
};

class ControllerCore {
public:
    // targets must not be empty (target 0 is the controller itself).
    ControllerCore(ControllerSettings stored, std::vector<Target> targets);

    // Power-up: live settings from the stored ones, session cleared, and the application firmware runs
    // when target 0 holds a valid image and no boot loader start is forced.
    void powerUp(bool forceBootLoader);

    Outcome handle(const Report& command);

    // The controller's own button: the next effect of the effect list becomes active. The event report
    // for the host, or nothing when the button does nothing (boot loader, empty effect list).
    std::optional<Report> pressEffectButton();
    // A second button that switches between the two profiles.
    std::optional<Report> pressProfileButton();

    const ControllerState& state() const { return state_; }
    ControllerState& state() { return state_; }

private:
    ControllerState state_;
};

// The event report 0x42 0x20 announcing a change made on the controller.
Report eventReport(const ControllerState& state, bool profileChanged);

}  // namespace simulator
