// The window messages of the controller links.
#pragma once

#include <cstdint>

namespace config {

// Posted to the owner: wParam the instance slot, lParam 1 when a controller is now open, 0 when none is.
inline constexpr std::uint32_t WM_DEVICE_PLUG = 1277;
// Posted to the owner on an unsolicited event report: wParam the event byte or 0, lParam the open indicator.
inline constexpr std::uint32_t WM_DEVICE_EVENT = 1278;
// The notice number the links give the device-access library; its notices carry it back.
inline constexpr std::uint32_t kTarnNoticeMessage = 1282;

}  // namespace config
