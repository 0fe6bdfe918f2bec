// The hand-over of replies between the reader thread and the sender, without Qt, so that it also runs
// under ThreadSanitizer.
#include "ReplyExchange.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

using linkexchange::CommandReport;
using linkexchange::ReplyExchange;
using namespace std::chrono_literals;

CommandReport Report(std::uint8_t command, std::uint8_t key, std::uint16_t index, std::uint8_t data = 0) {
    CommandReport report = linkexchange::MakeCommand(command, key, index);
    report[4] = data;
    return report;
}

TEST(ReplyExchange, TakesOnlyAnswersToThePendingCommandAndResetsOnEachCommand) {
    ReplyExchange exchange;
    CommandReport out = Report(0, 0, 0);
    exchange.Arm(Report(0x52, 0x28, 0x0102));
    EXPECT_FALSE(exchange.Offer(Report(0x52, 0x28, 0x0103, 1))) << "another index";
    EXPECT_FALSE(exchange.Offer(Report(0x52, 0x29, 0x0102, 1))) << "another key";
    EXPECT_FALSE(exchange.Await(0ms, out));
    EXPECT_EQ(out, Report(0, 0, 0));

    // A late reply still matches after the sender gave up...
    EXPECT_TRUE(exchange.Offer(Report(0x52, 0x28, 0x0102, 7)));
    // ...but the next command resets the event before it goes out, even with the same head.
    exchange.Arm(Report(0x52, 0x28, 0x0102));
    EXPECT_FALSE(exchange.Await(0ms, out));
    // A reply arriving while it waits answers it, whatever its data.
    EXPECT_TRUE(exchange.Offer(Report(0x52, 0x28, 0x0102, 9)));
    ASSERT_TRUE(exchange.Await(0ms, out));
    EXPECT_EQ(out, Report(0x52, 0x28, 0x0102, 9));
}

// The reader thread offers replies to every index while the sender runs command after command: each
// reply the sender gets answers its own command, and the bytes never tear.
TEST(ReplyExchange, ConcurrentOffersNeverHandOverAnotherCommandsReply) {
    ReplyExchange exchange;
    std::atomic<bool> stop{false};
    std::thread reader([&] {
        std::uint16_t index = 0;
        while (!stop.load()) {
            CommandReport reply;
            reply.fill(static_cast<std::uint8_t>(index));
            reply[0] = 0x40;
            reply[1] = 0x63;
            linkexchange::SetReportIndex(reply, index);
            exchange.Offer(reply);
            index = static_cast<std::uint16_t>((index + 1) % 8);
        }
    });
    int answered = 0;
    for (int i = 0; i < 2000; ++i) {
        const auto index = static_cast<std::uint16_t>(i % 8);
        exchange.Arm(Report(0x40, 0x63, index));
        CommandReport out{};
        if (exchange.Await(20ms, out)) {
            ++answered;
            ASSERT_EQ(linkexchange::ReportIndex(out), index);
            for (std::size_t b = 4; b < out.size(); ++b) ASSERT_EQ(out[b], index) << "torn reply";
        }
    }
    stop.store(true);
    reader.join();
    EXPECT_GT(answered, 0);
}

}  // namespace
