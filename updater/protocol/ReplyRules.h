// Which input reports answer a pending flashing command. Both links take the echo of the command's
// first four bytes, and a write command (0x1F) also ends with a 0x1E 0x02 report. Only the application
// link takes an error reply (0xFF 0xAA, command, key); on the boot-loader link a refused command runs
// into its time-out.
#pragma once

#include "CommandReport.h"

namespace updater {

using linkexchange::kReportSize;

bool bootLoaderLinkAccepts(std::span<const std::uint8_t, kReportSize> report,
                           std::span<const std::uint8_t, kReportSize> pending);
bool applicationLinkAccepts(std::span<const std::uint8_t, kReportSize> report,
                            std::span<const std::uint8_t, kReportSize> pending);

bool isErrorReply(std::span<const std::uint8_t, kReportSize> report);

}  // namespace updater
