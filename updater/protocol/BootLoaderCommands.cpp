#include "BootLoaderCommands.h"

#include "firmware/Bytes.h"

#include <algorithm>
#include <thread>

namespace updater {

namespace {

using linkexchange::kReportDataOffset;
using linkexchange::MakeCommand;

constexpr std::uint8_t kTargets = 0x10;
constexpr std::uint8_t kBootLoaderSwitch = 0x11;
constexpr std::uint8_t kRecords = 0x12;
constexpr std::uint8_t kFlashArea = 0x1D;
constexpr std::uint8_t kWriteAddress = 0x1E;
constexpr std::uint8_t kWriteData = 0x1F;
constexpr std::uint8_t kRecordKeyBase = 0x20;
constexpr std::uint8_t kApInfoIndexMarker = 4;
// Parameters: 32-bit values at bytes 4 and 8.
constexpr std::size_t kFirstParameter = kReportDataOffset;
constexpr std::size_t kSecondParameter = kReportDataOffset + 4;
constexpr std::uint32_t kEraseBytesPerSecond = 10240;

CommandReport command(std::uint8_t group, std::uint8_t key) { return MakeCommand(group, key); }

CommandReport command(std::uint8_t group, std::uint8_t key, std::uint32_t first, std::uint32_t second = 0) {
    CommandReport report = MakeCommand(group, key);
    firmware::writeLe32(report, kFirstParameter, first);
    firmware::writeLe32(report, kSecondParameter, second);
    return report;
}

ExchangeResult ask(CommandChannel& link, CommandReport& report, std::chrono::milliseconds wait = kReplyTime) {
    return link.exchange(report, wait, true);
}

// An exchange whose reply carries a 32-bit value at byte 4.
ExchangeResult askValue(CommandChannel& link, CommandReport report, std::uint32_t& value,
                        std::chrono::milliseconds wait = kReplyTime) {
    const ExchangeResult result = ask(link, report, wait);
    if (result == ExchangeResult::Ok) value = firmware::readLe32(report, kFirstParameter);
    return result;
}

ExchangeResult askRecord(CommandChannel& link, std::uint8_t key, firmware::Record& record) {
    CommandReport report = command(kRecords, key);
    const ExchangeResult result = ask(link, report);
    if (result == ExchangeResult::Ok)
        std::copy_n(report.begin() + kReportDataOffset, firmware::kRecordBytes, record.begin());
    return result;
}

}  // namespace

std::chrono::milliseconds eraseReplyTime(std::uint32_t length) {
    const std::chrono::milliseconds byLength{std::int64_t{length / kEraseBytesPerSecond} * 1000};
    return std::max(byLength, kReplyTime);
}

ExchangeResult getSelectedTarget(CommandChannel& link, std::uint32_t& index) {
    return askValue(link, command(kTargets, 0x00), index);
}

ExchangeResult selectTarget(CommandChannel& link, std::uint32_t index) {
    CommandReport report = command(kTargets, 0x01, index);
    return ask(link, report);
}

ExchangeResult countTargets(CommandChannel& link, std::uint32_t& count) {
    return askValue(link, command(kTargets, 0x02), count);
}

ExchangeResult enterBootLoader(CommandChannel& link) {
    CommandReport report = command(kBootLoaderSwitch, 0x00);
    return link.exchange(report, kReplyTime, false);
}

ExchangeResult leaveBootLoader(CommandChannel& link) {
    CommandReport report = command(kBootLoaderSwitch, 0x01);
    return link.exchange(report, kReplyTime, false);
}

ExchangeResult getFwInfo(CommandChannel& link, firmware::Record& fwInfo) { return askRecord(link, 0x00, fwInfo); }

ExchangeResult getApInfoIndex(CommandChannel& link, std::uint16_t& index) {
    CommandReport report = command(kRecords, 0x01);
    const ExchangeResult result = ask(link, report);
    if (result == ExchangeResult::Ok)
        index = report[kReportDataOffset] == kApInfoIndexMarker ? firmware::readLe16(report, kReportDataOffset + 2) : 0;
    return result;
}

ExchangeResult getRecord(CommandChannel& link, std::uint16_t n, firmware::Record& record) {
    if (n > 0xFF - kRecordKeyBase) return ExchangeResult::BadRequest;
    return askRecord(link, static_cast<std::uint8_t>(kRecordKeyBase + n), record);
}

ExchangeResult erase(CommandChannel& link, std::uint32_t length) {
    CommandReport report = command(kFlashArea, 0x00, 0, length);
    return ask(link, report, eraseReplyTime(length));
}

ExchangeResult checksum(CommandChannel& link, std::uint32_t start, std::uint32_t length, std::uint32_t& sum) {
    return askValue(link, command(kFlashArea, 0x01, start, length), sum);
}

ExchangeResult setWriteAddress(CommandChannel& link, std::uint32_t address) {
    CommandReport report = command(kWriteAddress, 0x01, address);
    return ask(link, report, kSetWriteAddressReplyTime);
}

ExchangeResult getWriteAddress(CommandChannel& link, std::uint32_t& address) {
    return askValue(link, command(kWriteAddress, 0x00, 0xFFFFFFFFu), address);
}

ExchangeResult writeData(CommandChannel& link, std::span<const std::uint8_t> data, std::uint32_t& newAddress) {
    if (data.empty() || data.size() > kMaxWriteBytes) return ExchangeResult::BadRequest;
    CommandReport report = MakeCommand(kWriteData, static_cast<std::uint8_t>(data.size()));
    std::copy(data.begin(), data.end(), report.begin() + kReportDataOffset);
    return askValue(link, report, newAddress);
}

bool setWriteAddressChecked(CommandChannel& link, std::uint32_t address, Retries retries) {
    for (int attempt = 1; attempt <= retries.count; ++attempt) {
        std::uint32_t readBack = 0;
        if (setWriteAddress(link, address) == ExchangeResult::Ok && getWriteAddress(link, readBack) == ExchangeResult::Ok &&
            readBack == address)
            return true;
        if (attempt < retries.count) std::this_thread::sleep_for(retries.pause);
    }
    return false;
}

}  // namespace updater
