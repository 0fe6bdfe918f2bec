// The controller's command set on top of SetData: the bytes of each command, what its reply gives,
// and the step delays.
#include "CUSBDriver.h"

#include <algorithm>
#include <array>
#include <thread>

namespace config {

namespace {

// Command groups and keys.
constexpr std::uint8_t kRecords = 0x12;
constexpr std::uint8_t kQuery = 0x40;
constexpr std::uint8_t kMode = 0x41;
constexpr std::uint8_t kEventConfig = 0x42;
constexpr std::uint8_t kProfileControl = 0x50;
constexpr std::uint8_t kWrite = 0x51;
constexpr std::uint8_t kRead = 0x52;

constexpr std::uint8_t kKeyDeviceInfo = 0x20;
constexpr std::uint8_t kKeyInfoRecord = 0x21;
constexpr std::uint8_t kKeyStatus = 0x63;
constexpr std::uint8_t kKeyReset = 0x10;
constexpr std::uint8_t kKeyStore = 0x55;
constexpr std::uint8_t kKeyProfile = 0x00;
constexpr std::uint8_t kKeyProfileBlock = 0x01;
constexpr std::uint8_t kKeyActiveEffect = 0x28;
constexpr std::uint8_t kKeyEffectList = 0x29;
constexpr std::uint8_t kKeyEffectParams = 0x2C;
constexpr std::uint8_t kKeyColorMode = 0x30;
constexpr std::uint8_t kKeyLayerMap = 0xA0;
constexpr std::uint8_t kKeyLedColors = 0xA8;
constexpr std::uint8_t kKeyConversionTable = 0x70;
constexpr std::uint8_t kKeyPwmConfig = 0x71;
constexpr std::uint8_t kKeyFirmwareInfo = 0x00;
constexpr std::uint8_t kKeyApIndex = 0x01;
constexpr std::uint8_t kKeyInfoPage = 0x20;

constexpr std::uint16_t kLayerMapIndex = 1;
constexpr std::uint8_t kApIndexMarker = 4;
constexpr std::uint8_t kEmptyBlockMarker = 0xFF;
constexpr int kProfilePolls = 5;
constexpr std::int32_t kMinimumPollPauseMilliseconds = 10;

std::span<std::uint8_t, kEffectParamEntrySize> Entry(std::span<std::uint8_t, kEffectParamBytes> entries, std::size_t i) {
    return entries.subspan(i * kEffectParamEntrySize).first<kEffectParamEntrySize>();
}

}  // namespace

int CUSBDriver::Exchange(CommandReport& command, bool stepDelay) {
    if (!IsOpen()) {
        return 1;
    }
    const int result = SetData(command);
    if (stepDelay) {
        StepDelay();
    }
    return result;
}

int CUSBDriver::Send(std::uint8_t command, std::uint8_t key, std::uint16_t index, std::span<const std::uint8_t> data) {
    CommandReport report = MakeCommand(command, key, index);
    std::copy_n(data.begin(), std::min(data.size(), kReportDataSize), ReportData(report).begin());
    return Exchange(report, true);
}

int CUSBDriver::Fetch(std::uint8_t command, std::uint8_t key, std::uint16_t index, std::span<const std::uint8_t> request,
                      std::span<std::uint8_t> output, bool stepDelay) {
    CommandReport report = MakeCommand(command, key, index);
    std::copy_n(request.begin(), std::min(request.size(), kReportDataSize), ReportData(report).begin());
    const int result = Exchange(report, stepDelay);
    if (result == 0) {
        std::copy_n(ReportData(report).begin(), std::min(output.size(), kReportDataSize), output.begin());
    }
    return result;
}

int CUSBDriver::GetDeviceInfo() {
    CommandReport report = MakeCommand(kQuery, kKeyDeviceInfo);
    const int result = Exchange(report, true);
    if (result == 0) {
        const auto data = ReportData(report);
        infoWord_ = static_cast<std::uint32_t>(data[0]) | static_cast<std::uint32_t>(data[1]) << 8 |
                    static_cast<std::uint32_t>(data[2]) << 16 | static_cast<std::uint32_t>(data[3]) << 24;
        listLength_ = static_cast<std::uint16_t>(data[4] | data[5] << 8);
        blockLength_ = data[6];
    }
    return result;
}

int CUSBDriver::GetInfoRecord(std::uint16_t record, std::span<std::uint8_t, 20> output) {
    return Fetch(kQuery, kKeyInfoRecord, record, {}, output);
}

int CUSBDriver::GetStatus(std::span<std::uint8_t, 20> output) { return Fetch(kQuery, kKeyStatus, 0, {}, output); }

int CUSBDriver::SetMode(std::uint8_t mode) { return Send(kMode, mode, 0, {}); }

int CUSBDriver::SetEventConfig(std::uint32_t value, std::uint8_t enable) {
    const std::array<std::uint8_t, 5> data = {
        static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value >> 16),
        static_cast<std::uint8_t>(value >> 24), enable};
    return Send(kEventConfig, 0x00, 0, data);
}

int CUSBDriver::ResetProfile() {
    const std::array<std::uint8_t, 1> data = {0};
    return Send(kProfileControl, kKeyReset, 0, data);
}

int CUSBDriver::StoreSettings() { return Send(kProfileControl, kKeyStore, 0, {}); }

int CUSBDriver::SelectProfile(std::uint8_t profile) {
    if (!IsOpen()) {
        return 1;
    }
    CommandReport report = MakeCommand(kWrite, kKeyProfile);
    report[kReportDataOffset] = profile;
    int result = SetData(report);
    std::this_thread::sleep_for(std::chrono::milliseconds(4 * stepDelay_));
    // The controller takes a moment to switch; poll until it reports the profile. Any failed exchange
    // makes the whole switch fail, even when a later poll sees the profile.
    for (int poll = 0; poll < kProfilePolls; ++poll) {
        std::uint8_t current = 0;
        result |= GetProfile(current);
        if (current == profile) {
            break;
        }
        DelayMicroseconds(std::int64_t{std::max(stepDelay_, kMinimumPollPauseMilliseconds)} * 1000);
    }
    return result;
}

int CUSBDriver::GetProfile(std::uint8_t& profile) {
    CommandReport report = MakeCommand(kRead, kKeyProfile);
    report[kReportDataOffset] = profile;
    const int result = Exchange(report, false);
    if (result == 0) {
        profile = report[kReportDataOffset] == 1 ? 1 : 0;
    }
    return result;
}

int CUSBDriver::SetProfileBlock(std::uint16_t profile, std::span<const std::uint8_t> block) {
    return Send(kWrite, kKeyProfileBlock, profile, block.first(std::min(ProfileBlockBytes(), block.size())));
}

int CUSBDriver::GetProfileBlock(std::uint16_t profile, std::span<std::uint8_t, kProfileBlockBufferSize> block) {
    CommandReport report = MakeCommand(kRead, kKeyProfileBlock, profile);
    const int result = Exchange(report, true);
    if (result == 0) {
        std::fill(block.begin(), block.end(), 0);
        const auto data = ReportData(report);
        if (data[0] != kEmptyBlockMarker) {
            std::copy_n(data.begin(), ProfileBlockBytes(), block.begin());
        }
    }
    return result;
}

int CUSBDriver::SetActiveEffect(std::uint8_t effect) {
    const std::array<std::uint8_t, 1> data = {effect};  // bytes 1-10 stay zero
    return Send(kWrite, kKeyActiveEffect, 0, data);
}

int CUSBDriver::GetActiveEffect(std::span<std::uint8_t, 11> output) {
    return Fetch(kRead, kKeyActiveEffect, 0, {}, output);
}

int CUSBDriver::SetEffectList(std::span<const std::uint8_t, 18> effects) {
    return Send(kWrite, kKeyEffectList, 0, effects);
}

int CUSBDriver::GetEffectList(std::span<std::uint8_t, 18> effects) {
    return Fetch(kRead, kKeyEffectList, 0, {}, effects);
}

int CUSBDriver::SetEffectParams(std::uint8_t layer, std::span<const std::uint8_t, kEffectParamBytes> entries) {
    if (!IsOpen()) {
        return 1;
    }
    CommandReport report;
    report.fill(0xFF);
    report[0] = kWrite;
    report[1] = kKeyEffectParams;
    SetReportIndex(report, layer);
    const auto data = ReportData(report).first<kEffectParamBytes>();
    std::copy(entries.begin(), entries.end(), data.begin());
    for (std::size_t i = 0; i < kEffectParamEntryCount; ++i) {
        EncodeEffectParamEntry(Entry(data, i));
    }
    return SetData(report);  // no step delay: the preview sends these in quick succession
}

int CUSBDriver::GetEffectParams(std::uint8_t layer, std::span<std::uint8_t, kEffectParamBytes> entries) {
    CommandReport report = MakeCommand(kRead, kKeyEffectParams, layer);
    const auto data = ReportData(report).first<kEffectParamBytes>();
    std::copy(entries.begin(), entries.end(), data.begin());
    const int result = Exchange(report, true);
    if (result == 0) {
        std::copy(data.begin(), data.end(), entries.begin());
        for (std::size_t i = 0; i < kEffectParamEntryCount; ++i) {
            DecodeEffectParamEntry(Entry(entries, i));
        }
    }
    return result;
}

int CUSBDriver::SetColorMode(std::uint8_t mode) {
    const std::array<std::uint8_t, 1> data = {mode};
    return Send(kWrite, kKeyColorMode, 0, data);
}

int CUSBDriver::SetLayerMap(std::span<const std::uint8_t, kReportDataSize> map) {
    return Send(kWrite, kKeyLayerMap, kLayerMapIndex, map);
}

int CUSBDriver::GetLayerMap(std::span<std::uint8_t, kReportDataSize> map) {
    return Fetch(kRead, kKeyLayerMap, kLayerMapIndex, map, map);
}

int CUSBDriver::SetLedColors(std::uint16_t group, std::span<const std::uint8_t, 48> colors) {
    return Send(kWrite, kKeyLedColors, group, colors);
}

int CUSBDriver::GetLedColors(std::uint16_t group, std::span<std::uint8_t, 48> colors) {
    return Fetch(kRead, kKeyLedColors, group, {}, colors);
}

int CUSBDriver::SetConversionTable(std::uint16_t page, std::span<const std::uint8_t, kReportDataSize> table) {
    return Send(kWrite, kKeyConversionTable, page, table);
}

int CUSBDriver::GetConversionTable(std::span<std::uint8_t, kReportDataSize> table) {
    return Fetch(kRead, kKeyConversionTable, 0, {}, table);
}

int CUSBDriver::SetPwmConfig(std::span<const std::uint8_t, kReportDataSize> config) {
    return Send(kWrite, kKeyPwmConfig, 0, config);
}

int CUSBDriver::GetPwmConfig(std::span<std::uint8_t, kReportDataSize> config) {
    return Fetch(kRead, kKeyPwmConfig, 0, config, config);
}

int CUSBDriver::GetFWInfo(std::span<std::uint8_t, kReportSize> output) {
    if (!IsOpen()) {
        return 1;
    }
    std::fill(output.begin(), output.end(), 0);
    CommandReport report = MakeCommand(kRecords, kKeyFirmwareInfo);
    const int result = SetData(report);
    if (result == 0) {
        std::copy(report.begin(), report.end(), output.begin());
    }
    return result;
}

int CUSBDriver::GetAPIndex(std::uint16_t& index) {
    CommandReport report = MakeCommand(kRecords, kKeyApIndex);
    const int result = Exchange(report, false);
    const auto data = ReportData(report);
    if (result == 0 && data[0] == kApIndexMarker) {
        index = static_cast<std::uint16_t>(data[2] | data[3] << 8);
    }
    return result;
}

int CUSBDriver::GetInfoPage(std::uint8_t page, std::span<std::uint8_t, kReportDataSize> output) {
    if (!IsOpen()) {
        return 1;
    }
    std::fill(output.begin(), output.end(), 0);
    return Fetch(kRecords, static_cast<std::uint8_t>(kKeyInfoPage + page), 0, {}, output, false);
}

}  // namespace config
