#include "IAP_CUSBDriver.h"

namespace config {

namespace {

// The current boot-loader link, which the slot-1 report callback serves.
std::atomic<CUSBDriver*> g_bootLoaderLink{nullptr};

void ServeBootLoaderReport(std::int32_t /*deviceNumber*/, const std::uint8_t* report, std::int32_t length) {
    CUSBDriver::HandleReport(g_bootLoaderLink.load(), report, length);
}

}  // namespace

bool IAP_CUSBDriver::OpenDevice() {
    return OpenSlot({kBootLoaderSlot, kBootLoaderProductId, &ServeBootLoaderReport, &g_bootLoaderLink});
}

}  // namespace config
