// A controller link of the updater on one instance slot of the device-access library: the
// application link (slot 0) or the boot-loader link (slot 1).
//
// It keeps the devices the library reports (at most one per usage and usage page), sends commands to
// the device with usage 1 on page 0xFF00, and takes replies from that device's input reports on the
// reader thread. A device the link holds stays its device until it goes: a second controller of the
// same kind that arrives meanwhile is not listed, so nothing meant for the first one reaches it. Each exchange writes the command, waits 3 ms, then waits for the reply that the
// link's reply rule accepts; a per-link lock keeps exchanges from overlapping, whichever thread sends.
//
// The link reports when a device was newly listed (the owner restarts its settle timer) and when it
// lost its device; notices arrive on the thread that called open() or on the library's watcher thread.
#pragma once

#include "CommandChannel.h"
#include "ReplyExchange.h"

#include "tarnlink/tarnlink.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace updater {

class FlashLink final : public CommandChannel {
public:
    enum class Kind { Application, BootLoader };
    enum class DeviceChange { Listed, Lost };

    static constexpr std::int32_t kApplicationSlot = 0;
    static constexpr std::int32_t kBootLoaderSlot = 1;
    static constexpr std::chrono::microseconds kWriteSettleTime{3000};

    // The application link on slot 0 or the boot-loader link on slot 1.
    explicit FlashLink(Kind kind);
    // Closes the slot, so no notice or report reaches a dead link.
    ~FlashLink() override;
    FlashLink(const FlashLink&) = delete;
    FlashLink& operator=(const FlashLink&) = delete;

    // Called on every listing and loss; set before open(). Must not call open() or close().
    void setChangeObserver(std::function<void(DeviceChange)> observer);
    // Receives the trace lines of notices and input reports; set before open().
    void setTrace(std::function<void(const std::string&)> trace);

    // Watches the slot for the vendor and product (usage 1, page 0xFF00); true when a device is there.
    bool open(std::uint16_t vendorId, std::uint16_t productId);
    // Stops watching, empties the list and clears the connected flag; no notices.
    void close();

    bool connected() const;
    // The device number of the listed device with usage 1 on page 0xFF00, or 0.
    std::uint16_t deviceNumber() const;
    Kind kind() const { return kind_; }
    // How long an answered exchange takes here, averaged over the recent ones (the 3 ms after the write
    // included); 0 before the first.
    std::chrono::microseconds averageExchangeTime() const;
    // How often another device of the held one's kind (a second controller) was announced and left
    // unlisted since the link opened.
    int unlistedArrivals() const { return unlistedArrivals_; }

    ExchangeResult exchange(CommandReport& report, std::chrono::milliseconds wait, bool awaitReply) override;
    // The exchange with one device only: NoDevice once that device is no longer the link's (an update
    // stays with the controller it started on, even when another one is listed after it went).
    ExchangeResult exchangeWith(std::uint16_t device, CommandReport& report, std::chrono::milliseconds wait,
                                bool awaitReply);

private:
    ExchangeResult exchangeLocked(std::uint16_t device, CommandReport& report, std::chrono::milliseconds wait,
                                  bool awaitReply);
    static void onNotice(void* context, std::uint32_t message, std::uintptr_t wParam, const _DEVICE_STATE* state);
    template <std::int32_t Slot>
    static void onReport(std::int32_t deviceNumber, const std::uint8_t* report, std::int32_t length);
    void handleNotice(const _DEVICE_STATE& state);
    void noteExchangeTime(std::chrono::microseconds taken);
    void handleReport(std::int32_t deviceNumber, const std::uint8_t* report, std::int32_t length);
    void trace(const char* format, ...) const __attribute__((format(printf, 2, 3)));

    const Kind kind_;
    const std::int32_t slot_;
    std::function<void(DeviceChange)> observer_;
    std::function<void(const std::string&)> trace_;
    linkexchange::ReplyExchange reply_;
    std::mutex exchangeMutex_;
    mutable std::mutex devicesMutex_;
    std::vector<_DEVICE_STATE> devices_;
    bool connected_ = false;
    bool open_ = false;
    std::atomic<std::int64_t> averageMicroseconds_{0};
    std::atomic<int> unlistedArrivals_{0};
};

// A link's exchanges bound to the device it held when the binding was made.
class HeldDeviceChannel final : public CommandChannel {
public:
    explicit HeldDeviceChannel(FlashLink& link) : link_(link), device_(link.deviceNumber()) {}
    std::uint16_t device() const { return device_; }
    ExchangeResult exchange(CommandReport& report, std::chrono::milliseconds wait, bool awaitReply) override {
        return link_.exchangeWith(device_, report, wait, awaitReply);
    }

private:
    FlashLink& link_;
    const std::uint16_t device_;
};

}  // namespace updater
