#include "firmware/PackageCheck.h"

#include <cstdint>

namespace firmware {

namespace {

bool isUsbId(std::uint32_t id) { return id != 0 && id <= 0xFFFF; }

}  // namespace

std::optional<std::string_view> unflashablePackageReason(const FirmwareInfoBlock& info) {
    if (info.bytesPerWrite == 0) return "the firmware package gives a data length of 0 bytes per write";
    if (!isUsbId(info.applicationVendorId) || !isUsbId(info.applicationProductId) ||
        !isUsbId(info.bootLoaderVendorId) || !isUsbId(info.bootLoaderProductId))
        return "the firmware package names no valid controller ids";
    return std::nullopt;
}

}  // namespace firmware
