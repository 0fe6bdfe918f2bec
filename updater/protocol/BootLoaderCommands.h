// The commands that query, erase, program, check and restart a controller target. Each is one
// exchange on a channel (the boot-loader link, or the application link for the target and record
// queries and for units behind the controller) and returns ExchangeResult::Ok on success; outputs are
// written only on success.
#pragma once

#include "CommandChannel.h"

#include "firmware/ControllerRecords.h"

#include <chrono>
#include <cstdint>
#include <span>

namespace updater {

inline constexpr std::chrono::milliseconds kReplyTime{500};
inline constexpr std::chrono::milliseconds kSetWriteAddressReplyTime{1000};
// Data bytes a write command carries at most.
inline constexpr std::size_t kMaxWriteBytes = 60;

// Erasing takes a second per 10240 bytes (whole seconds), never less than the usual reply time.
std::chrono::milliseconds eraseReplyTime(std::uint32_t length);

ExchangeResult getSelectedTarget(CommandChannel& link, std::uint32_t& index);
ExchangeResult selectTarget(CommandChannel& link, std::uint32_t index);
ExchangeResult countTargets(CommandChannel& link, std::uint32_t& count);

// No reply is awaited: the controller restarts (or the unit switches) instead of answering.
ExchangeResult enterBootLoader(CommandChannel& link);
ExchangeResult leaveBootLoader(CommandChannel& link);

ExchangeResult getFwInfo(CommandChannel& link, firmware::Record& fwInfo);
// The record number of APInfo: the reply's bytes 6-7 when its byte 4 is 4, otherwise 0.
ExchangeResult getApInfoIndex(CommandChannel& link, std::uint16_t& index);
// Record n (record 0 is VerInfo); numbers above 0xDF have no command key (BadRequest).
ExchangeResult getRecord(CommandChannel& link, std::uint16_t n, firmware::Record& record);

// Erases `length` bytes from the start of the target's flash area.
ExchangeResult erase(CommandChannel& link, std::uint32_t length);
ExchangeResult checksum(CommandChannel& link, std::uint32_t start, std::uint32_t length, std::uint32_t& sum);

ExchangeResult setWriteAddress(CommandChannel& link, std::uint32_t address);
ExchangeResult getWriteAddress(CommandChannel& link, std::uint32_t& address);
// Programs 1-60 bytes at the write address (other lengths: BadRequest). `newAddress` is the write
// address the controller reports afterwards; a 0x1E 0x02 reply also answers, with its own address.
ExchangeResult writeData(CommandChannel& link, std::span<const std::uint8_t> data, std::uint32_t& newAddress);

struct Retries {
    int count = 15;
    std::chrono::milliseconds pause{1000};
};

// Sets the write address and reads it back, up to `retries.count` tries with the pause after each
// failed one; true once the read-back equals the address.
bool setWriteAddressChecked(CommandChannel& link, std::uint32_t address, Retries retries = {});

}  // namespace updater
