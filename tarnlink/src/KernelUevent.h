// The kernel's uevent messages, as the hidraw backend without libudev reads them.
#pragma once

#include "Bus.h"

#include <optional>
#include <string_view>

namespace tarnlink {

// "action@devpath\0KEY=value\0KEY=value\0...": the arrival or removal of a hidraw node, or empty for
// any other message.
std::optional<BusEvent> parseKernelUevent(std::string_view message);

}  // namespace tarnlink
