// Names of the single-instance locks (SingleInstanceLock) that more than one program looks at.
#pragma once

#include <string_view>

namespace platform {

// Held by the configuration program for its whole run, during which it owns the controller; the
// command-line tool takes it too, and refuses to run while someone else holds it.
inline constexpr std::string_view kConfigurationProgramInstance = "Quillon_Halcyra_configure";

// Held by the firmware updater for its whole run; the command-line tool does not run beside it, since a
// command sent in the middle of an update could spoil it.
inline constexpr std::string_view kUpdaterInstance = "VORANTH_FW_UPDATE_MUTEX";

}  // namespace platform
