// The one text that tells a person that a controller is plugged in but cannot be used because access
// to it was denied, and how to get access. Shown by the updater (its error line and its window) and by
// the configuration program's no-device warning in place of a plain "no device".
#pragma once

#include "HidrawAccess.h"

#include <string>
#include <string_view>
#include <vector>

namespace tarnlink {

// The udev rule the project ships (tarnlink/udev/) and where a package installs it.
inline constexpr std::string_view kUdevRuleName = "70-tarnlink.rules";
inline constexpr std::string_view kUdevRuleFolder = "/usr/lib/udev/rules.d/";
// The group the rule gives read and write access to, for sessions that are not at the local seat.
inline constexpr std::string_view kAccessGroup = "plugdev";

// The text for these denied nodes (several lines, no line break at the end); "" when there are none.
std::string accessDeniedText(const std::vector<DeniedController>& denied);

// The text for the controllers denied on this system now (findDeniedControllers()); "" when every
// controller that is present can be opened, or none is present. For the no-device warnings:
//   const std::string text = tarnlink::controllerAccessDeniedText();
//   if (!text.empty()) show it instead of "no device".
std::string controllerAccessDeniedText();

}  // namespace tarnlink
