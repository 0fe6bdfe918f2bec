// Tells a companion program of the session about the configuration program's use of the controller.
//
// The companion listens on a Unix datagram socket named after it (for example "Quillon_Halcyra_Hid")
// in the runtime folder ($XDG_RUNTIME_DIR, or the temporary folder). A notice is one datagram of 24
// bytes, three 64-bit little-endian fields:
//
//     bytes  0..7   message number (unsigned; 2929 for the controller-use notice)
//     bytes  8..15  wParam (unsigned)
//     bytes 16..23  lParam (signed, two's complement)
//
// Sending never waits and expects no answer: when the socket does not exist, nobody is bound to it,
// or its queue is full, the notice is dropped and the call reports false.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace platform {

inline constexpr std::string_view kCompanionSocketName = "Quillon_Halcyra_Hid";
inline constexpr std::uint32_t kCompanionMessage = 2929;
inline constexpr std::size_t kCompanionNoticeSize = 24;

// The datagram described above.
std::array<std::uint8_t, kCompanionNoticeSize> EncodeCompanionNotice(std::uint32_t message, std::uintptr_t wParam,
                                                                     std::intptr_t lParam);

// Sends {message, wParam, lParam} to the socket `name` in the runtime folder. True when the datagram
// was handed to the socket; false, quietly, otherwise (also for a name that is not a file name).
bool NotifyCompanion(std::string_view name, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);

}  // namespace platform
