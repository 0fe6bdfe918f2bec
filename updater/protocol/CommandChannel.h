// One command and its reply over a controller link, as the flashing commands see it.
#pragma once

#include "CommandReport.h"

#include <chrono>

namespace updater {

using linkexchange::CommandReport;

enum class ExchangeResult {
    Ok = 0,
    NoDevice,      // the link has no device: nothing was sent
    WriteFailed,   // the report could not be written
    NoReply,       // no reply within the command's time
    ErrorReply,    // the controller refused the command (application link only)
    BadRequest,    // the command's arguments cannot be sent: nothing was sent
};

class CommandChannel {
public:
    virtual ~CommandChannel() = default;

    // Sends the 64-byte command and, when a reply is awaited, waits up to `wait` for it; on Ok (and on
    // ErrorReply) `report` then holds the reply, otherwise it is unchanged. Exchanges on one channel
    // never overlap: a second caller waits until the first has its reply or its time-out.
    virtual ExchangeResult exchange(CommandReport& report, std::chrono::milliseconds wait, bool awaitReply) = 0;
};

}  // namespace updater
