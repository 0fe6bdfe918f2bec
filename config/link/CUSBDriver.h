// The configuration program's link to the controller on instance slot 0 of the device-access library:
// the list of matching devices, the open indicator, SetData (one command report out, its reply back),
// the controller's command set on top of it, and the messages to the owner window.
//
// The link is an object of the user-interface thread. The library's notices reach it synchronously
// when they come from that thread (the enumeration inside TarnOpen) and are posted to it when they
// come from the library's watcher thread; either way they are handled on the user-interface thread,
// which alone touches the device list. Input reports are handled on the device's reader thread: a
// reply is handed over through the ReplyExchange, an event report becomes a posted WM_DEVICE_EVENT.
// The owner receives WM_DEVICE_PLUG and WM_DEVICE_EVENT as posted window messages, in order.
#pragma once

#include "CommandReport.h"
#include "DeviceList.h"
#include "EffectParams.h"
#include "ReplyExchange.h"
#include "TarnlinkApi.h"

#include <QObject>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <span>
#include <thread>
#include <vector>

namespace config {

// The report layout and the reply hand-over are shared with the updater's links.
using linkexchange::AnswersCommand;
using linkexchange::CommandReport;
using linkexchange::kReportDataOffset;
using linkexchange::kReportDataSize;
using linkexchange::kReportSize;
using linkexchange::MakeCommand;
using linkexchange::ReplyExchange;
using linkexchange::ReportData;
using linkexchange::ReportIndex;
using linkexchange::SetReportIndex;

class CUSBDriver : public QObject {
public:
    static constexpr std::uint16_t kVendorId = 0x2516;
    static constexpr std::uint16_t kProductId = 0x004F;
    static constexpr std::chrono::microseconds kWriteSettleTime{3000};
    static constexpr std::chrono::milliseconds kReplyTimeout{500};
    // The caller's buffer of GetProfileBlock.
    static constexpr std::size_t kProfileBlockBufferSize = 520;

    // Closed, no owner, slot 0, device information 0, step delay 1 ms, no devices.
    explicit CUSBDriver(const TarnlinkApi& tarnlink, QObject* parent = nullptr);
    // Closes the slot when this link is the one it serves, so no notice or report reaches a dead link.
    ~CUSBDriver() override;
    CUSBDriver(const CUSBDriver&) = delete;
    CUSBDriver& operator=(const CUSBDriver&) = delete;

    // The receiver of WM_DEVICE_PLUG and WM_DEVICE_EVENT; set before OpenDevice. It must outlive the link.
    void SetOwnerWindow(QObject* owner) { owner_.store(owner); }

    // Opens the slot (closing it first when a controller is open) and returns whether a controller is
    // open. The plug messages of the enumeration are posted before it returns.
    virtual bool OpenDevice();

    // One exchange: the 64-byte command goes out, and on a 0 result `report` holds its reply. 1 when no
    // controller is open, the write failed or no reply came within 500 ms; then `report` is unchanged.
    int SetData(std::span<std::uint8_t, kReportSize> report);

    // Waits at least the given time, watching the clock only for the last stretch.
    static void DelayMicroseconds(std::int64_t microseconds);
    // The pause after most commands: the step delay in milliseconds.
    void StepDelay() const;

    bool IsOpen() const { return openIndicator_.load() != 0; }
    std::int32_t OpenIndicator() const { return openIndicator_.load(); }
    std::int32_t Slot() const { return slot_; }
    std::int32_t StepDelayMilliseconds() const { return stepDelay_; }
    const std::vector<_DEVICE_STATE>& Devices() const { return devices_.Entries(); }

    // Device information of GetDeviceInfo.
    std::uint32_t InfoWord() const { return infoWord_; }
    std::uint16_t ListLength() const { return listLength_; }
    std::uint8_t BlockLength() const { return blockLength_; }
    // The number of data bytes a profile block carries: the block length, at most the 60 a report holds.
    std::size_t ProfileBlockBytes() const;

    // The command set. Each returns 0 on success and 1 on failure, and returns 1 at once without sending
    // anything when no controller is open. Outputs are written only on success unless stated.
    int GetDeviceInfo();
    int GetInfoRecord(std::uint16_t record, std::span<std::uint8_t, 20> output);
    int GetStatus(std::span<std::uint8_t, 20> output);
    int SetMode(std::uint8_t mode);
    int SetEventConfig(std::uint32_t value, std::uint8_t enable);
    int ResetProfile();
    int StoreSettings();
    int SelectProfile(std::uint8_t profile);
    // `profile` is sent as data byte 0; on success it becomes 1 when the reply says 1, else 0.
    int GetProfile(std::uint8_t& profile);
    // Sends the first ProfileBlockBytes() bytes of `block` (fewer when `block` is shorter).
    int SetProfileBlock(std::uint16_t profile, std::span<const std::uint8_t> block);
    // On success clears `block` and, unless the reply's data byte 0 is 0xFF, copies ProfileBlockBytes()
    // reply bytes to its start.
    int GetProfileBlock(std::uint16_t profile, std::span<std::uint8_t, kProfileBlockBufferSize> block);
    int SetActiveEffect(std::uint8_t effect);
    int GetActiveEffect(std::span<std::uint8_t, 11> output);
    int SetEffectList(std::span<const std::uint8_t, 18> effects);
    int GetEffectList(std::span<std::uint8_t, 18> effects);
    // Five entries in levels; the controller gets raw values. The caller's entries are not changed.
    int SetEffectParams(std::uint8_t layer, std::span<const std::uint8_t, kEffectParamBytes> entries);
    // Sends the entries as the request; on success the replied entries, turned into levels, replace them.
    int GetEffectParams(std::uint8_t layer, std::span<std::uint8_t, kEffectParamBytes> entries);
    int SetColorMode(std::uint8_t mode);
    int SetLayerMap(std::span<const std::uint8_t, kReportDataSize> map);
    int GetLayerMap(std::span<std::uint8_t, kReportDataSize> map);
    int SetLedColors(std::uint16_t group, std::span<const std::uint8_t, 48> colors);
    int GetLedColors(std::uint16_t group, std::span<std::uint8_t, 48> colors);
    int SetConversionTable(std::uint16_t page, std::span<const std::uint8_t, kReportDataSize> table);
    int GetConversionTable(std::span<std::uint8_t, kReportDataSize> table);
    int SetPwmConfig(std::span<const std::uint8_t, kReportDataSize> config);
    int GetPwmConfig(std::span<std::uint8_t, kReportDataSize> config);
    // The whole reply; `output` is cleared first.
    int GetFWInfo(std::span<std::uint8_t, kReportSize> output);
    // `index` is written only when the reply's data byte 0 is 4.
    int GetAPIndex(std::uint16_t& index);
    // Record page `page` (key 0x20 + page); `output` is cleared first.
    int GetInfoPage(std::uint8_t page, std::span<std::uint8_t, kReportDataSize> output);

    // For the report callbacks: hands a report of length 65 (report id byte, 64 data bytes) to the link's
    // input handling; other lengths, and a null link, are ignored. Runs on the reader thread.
    static void HandleReport(CUSBDriver* link, const std::uint8_t* report, std::int32_t length);

protected:
    // What differs between the controller link and the boot-loader link when a slot opens.
    struct SlotSettings {
        std::int32_t slot;
        std::uint16_t productId;
        TarnReportCallback callback;
        std::atomic<CUSBDriver*>* servedLink;  // the link the callback hands reports to
    };
    bool OpenSlot(const SlotSettings& settings);

    bool event(QEvent* event) override;

private:
    static void OnNotice(void* context, std::uint32_t message, std::uintptr_t wParam, const _DEVICE_STATE* state);
    void HandleNotice(std::uintptr_t wParam, const _DEVICE_STATE& state);
    void HandleInput(std::span<const std::uint8_t, kReportSize> report);
    void PostToOwner(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) const;

    // The shape of most commands: check, exchange, step delay.
    int Exchange(CommandReport& command, bool stepDelay);
    int Send(std::uint8_t command, std::uint8_t key, std::uint16_t index, std::span<const std::uint8_t> data);
    int Fetch(std::uint8_t command, std::uint8_t key, std::uint16_t index, std::span<const std::uint8_t> request,
              std::span<std::uint8_t> output, bool stepDelay = true);

    const TarnlinkApi tarnlink_;
    const std::thread::id ownThread_;
    std::uint32_t infoWord_ = 0;
    std::uint16_t listLength_ = 0;
    std::uint8_t blockLength_ = 0;
    std::int32_t stepDelay_ = 1;
    ReplyExchange exchange_;
    std::atomic<std::int32_t> openIndicator_{0};
    DeviceList devices_;
    std::atomic<QObject*> owner_{nullptr};
    std::int32_t slot_ = 0;
    std::atomic<CUSBDriver*>* servedLink_ = nullptr;
    // Counts the slot openings; a notice posted from an earlier opening is dropped.
    std::atomic<std::uint32_t> noticeGeneration_{0};
};

}  // namespace config
