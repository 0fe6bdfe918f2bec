#include "ReplyRules.h"

namespace updater {

namespace {

constexpr std::uint8_t kWriteData = 0x1F;
constexpr std::uint8_t kWriteAddressGroup = 0x1E;
constexpr std::uint8_t kWriteEnded = 0x02;
constexpr std::uint8_t kErrorReply0 = 0xFF;
constexpr std::uint8_t kErrorReply1 = 0xAA;

bool endsWrite(std::span<const std::uint8_t, kReportSize> report, std::span<const std::uint8_t, kReportSize> pending) {
    return pending[0] == kWriteData && report[0] == kWriteAddressGroup && report[1] == kWriteEnded;
}

bool refuses(std::span<const std::uint8_t, kReportSize> report, std::span<const std::uint8_t, kReportSize> pending) {
    return isErrorReply(report) && report[2] == pending[0] && report[3] == pending[1];
}

}  // namespace

bool isErrorReply(std::span<const std::uint8_t, kReportSize> report) {
    return report[0] == kErrorReply0 && report[1] == kErrorReply1;
}

bool bootLoaderLinkAccepts(std::span<const std::uint8_t, kReportSize> report,
                           std::span<const std::uint8_t, kReportSize> pending) {
    return linkexchange::AnswersCommand(report, pending) || endsWrite(report, pending);
}

bool applicationLinkAccepts(std::span<const std::uint8_t, kReportSize> report,
                            std::span<const std::uint8_t, kReportSize> pending) {
    return bootLoaderLinkAccepts(report, pending) || refuses(report, pending);
}

}  // namespace updater
