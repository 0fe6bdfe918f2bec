// Which reports each link takes as the answer to its pending command, and the commands' own rules
// that need no device.
#include "BootLoaderCommands.h"
#include "FlashLink.h"
#include "ReplyRules.h"

#include <gtest/gtest.h>

namespace updater {
namespace {

using namespace std::chrono_literals;

CommandReport report(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2 = 0, std::uint8_t b3 = 0) {
    CommandReport r{};
    r[0] = b0;
    r[1] = b1;
    r[2] = b2;
    r[3] = b3;
    r[4] = 0x99;  // answer data never matters
    return r;
}

TEST(ReplyRules, EchoesWriteEndsAndErrorRepliesOnTheApplicationLinkOnly) {
    const struct {
        const char* name;
        CommandReport reply;
        CommandReport pending;
        bool bootLoader;
        bool application;
    } rows[] = {
        {"echo of all four bytes", report(0x12, 0x20), report(0x12, 0x20), true, true},
        {"another key", report(0x12, 0x21), report(0x12, 0x20), false, false},
        {"another index byte", report(0x12, 0x20, 0, 1), report(0x12, 0x20), false, false},
        {"0x1E 0x02 ends a write", report(0x1E, 0x02), report(0x1F, 0x3C), true, true},
        {"0x1E 0x02 answers nothing else", report(0x1E, 0x02), report(0x1E, 0x00), false, false},
        {"error reply naming the command", report(0xFF, 0xAA, 0x10, 0x01), report(0x10, 0x01), false, true},
        {"error reply naming another key", report(0xFF, 0xAA, 0x10, 0x02), report(0x10, 0x01), false, false},
        {"error reply naming another command", report(0xFF, 0xAA, 0x1D, 0x01), report(0x10, 0x01), false, false},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(bootLoaderLinkAccepts(row.reply, row.pending), row.bootLoader) << row.name;
        EXPECT_EQ(applicationLinkAccepts(row.reply, row.pending), row.application) << row.name;
    }
}

TEST(BootLoaderCommands, EraseWaitsASecondPer10240BytesButNeverLessThan500Ms) {
    const struct {
        std::uint32_t length;
        std::chrono::milliseconds wait;
    } rows[] = {{0, 500ms}, {10239, 500ms}, {10240, 1000ms}, {65536, 6000ms}, {0xFFFFFFFFu, 419430000ms}};
    for (const auto& row : rows) EXPECT_EQ(eraseReplyTime(row.length), row.wait) << row.length;
}

TEST(BootLoaderCommands, ALinkWithoutADeviceOrAnUnsendableRequestSendsNothing) {
    FlashLink link(FlashLink::Kind::BootLoader);
    std::uint32_t address = 77;
    EXPECT_EQ(getWriteAddress(link, address), ExchangeResult::NoDevice);
    EXPECT_EQ(enterBootLoader(link), ExchangeResult::NoDevice);
    EXPECT_EQ(address, 77u) << "no output on failure";
    const std::uint8_t bytes[61] = {};
    EXPECT_EQ(writeData(link, std::span(bytes, 0), address), ExchangeResult::BadRequest);
    EXPECT_EQ(writeData(link, std::span(bytes, 61), address), ExchangeResult::BadRequest);
    firmware::Record record{};
    EXPECT_EQ(getRecord(link, 0xE0, record), ExchangeResult::BadRequest) << "key 0x20 + n must fit a byte";
    EXPECT_FALSE(setWriteAddressChecked(link, 0, {2, 1ms}));
}

}  // namespace
}  // namespace updater
