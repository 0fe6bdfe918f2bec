// Whether a package's information block can drive an update at all. Checked before the controller is
// touched: a block that cannot be flashed must never send a working controller into its boot loader,
// where the failure handling would erase its firmware.
#pragma once

#include "firmware/PackageLayout.h"

#include <optional>
#include <string_view>

namespace firmware {

// Why the block cannot drive an update, or nothing when it can.
std::optional<std::string_view> unflashablePackageReason(const FirmwareInfoBlock& info);

}  // namespace firmware
