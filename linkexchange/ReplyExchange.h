// The exchange buffer and reply event of a controller link: the hand-over of a reply from the
// device's reader thread to the thread that sent the command.
//
// The buffer holds the pending command until a report that the link's reply rule accepts replaces it;
// then the event is set. A reply that comes after its sender gave up stays in the buffer until the next
// command overwrites it, and since every command resets the event first, a late reply can satisfy only
// a later command that it also answers. A mutex guards buffer and event, so the two threads never
// touch the bytes at the same time.
//
// The configuration program's links accept only a report that repeats the command's first four bytes
// (the default rule); the updater's links also accept the other answers their protocol allows.
#pragma once

#include "CommandReport.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace linkexchange {

// Whether `report` answers the pending command; called with the exchange's lock held.
using ReplyRule = bool (*)(std::span<const std::uint8_t, kReportSize> report,
                           std::span<const std::uint8_t, kReportSize> pending);

class ReplyExchange {
public:
    explicit ReplyExchange(ReplyRule rule = &AnswersCommand) : rule_(rule) {}

    // Sender: stores the command as the pending one and resets the event.
    void Arm(std::span<const std::uint8_t, kReportSize> command);

    // Reader thread: takes the report as the reply when the rule accepts it for the buffer's command;
    // returns whether it did.
    bool Offer(std::span<const std::uint8_t, kReportSize> report);

    // Sender: waits up to `timeout` for the event; when it is set, copies the reply into `reply` and
    // returns true. On time-out `reply` is not touched.
    bool Await(std::chrono::milliseconds timeout, std::span<std::uint8_t, kReportSize> reply);

private:
    const ReplyRule rule_;
    std::mutex mutex_;
    std::condition_variable replied_;
    CommandReport buffer_{};
    bool eventSet_ = false;
};

}  // namespace linkexchange
