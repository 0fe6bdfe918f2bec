// The command handlers behind ControllerCore, one file per command set.
#pragma once

#include "simulator/ControllerCore.h"

namespace simulator::detail {

// Part of the application firmware only (groups 0x40, 0x41, 0x42, 0x50, 0x51, 0x52).
Outcome handleApplicationCommand(ControllerState& state, const Report& command);
// Target, record and flashing commands (groups 0x10, 0x11, 0x12, 0x1D, 0x1E, 0x1F), which both the boot
// loader and the application firmware answer (the latter flashes only units behind the controller).
Outcome handleTargetCommand(ControllerState& state, const Report& command);
bool isTargetCommand(std::uint8_t group);

inline std::uint16_t indexOf(const Report& command) {
    return static_cast<std::uint16_t>(command[2] | (command[3] << 8));
}

inline Outcome reply(const Report& report) { return Outcome{report}; }
inline Outcome refuse(const Report& command) { return Outcome{errorReplyTo(command)}; }

}  // namespace simulator::detail
