#include "ReplyExchange.h"

#include <algorithm>

namespace linkexchange {

void ReplyExchange::Arm(std::span<const std::uint8_t, kReportSize> command) {
    std::lock_guard lock(mutex_);
    std::copy(command.begin(), command.end(), buffer_.begin());
    eventSet_ = false;
}

bool ReplyExchange::Offer(std::span<const std::uint8_t, kReportSize> report) {
    {
        std::lock_guard lock(mutex_);
        if (!rule_(report, buffer_)) {
            return false;
        }
        std::copy(report.begin(), report.end(), buffer_.begin());
        eventSet_ = true;
    }
    replied_.notify_all();
    return true;
}

bool ReplyExchange::Await(std::chrono::milliseconds timeout, std::span<std::uint8_t, kReportSize> reply) {
    std::unique_lock lock(mutex_);
    if (!replied_.wait_for(lock, timeout, [this] { return eventSet_; })) {
        return false;
    }
    std::copy(buffer_.begin(), buffer_.end(), reply.begin());
    return true;
}

}  // namespace linkexchange
