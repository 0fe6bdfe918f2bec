// The boot-loader link: the controller link on instance slot 1, watching for the controller in its
// boot-loader mode (product 0x0050). It shares SetData, the notice handling and the input handling of
// CUSBDriver and differs only in how it opens its slot and in its report callback.
#pragma once

#include "CUSBDriver.h"

namespace config {

class IAP_CUSBDriver : public CUSBDriver {
public:
    static constexpr std::uint16_t kBootLoaderProductId = 0x0050;
    static constexpr std::int32_t kBootLoaderSlot = 1;

    using CUSBDriver::CUSBDriver;

    // Opens slot 1 (closing it first when a controller is open) and becomes the program's current
    // boot-loader link, the one its report callback serves.
    bool OpenDevice() override;
};

}  // namespace config
