// Names of the single-instance locks (SingleInstanceLock) that more than one program looks at.
#pragma once

#include <string_view>

namespace platform {

// Held by the configuration program for its whole run, during which it owns the controller; the
// command-line tool takes it too, and refuses to run while someone else holds it.
inline constexpr std::string_view kConfigurationProgramInstance = "Quillon_Halcyra_configure";

}  // namespace platform
