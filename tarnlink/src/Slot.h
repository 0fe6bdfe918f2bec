// One instance slot: filter, callback, client notice function, the open devices with their numbering,
// and the watcher that keeps the device list in step with the buses.
#pragma once

#include "Device.h"
#include "Watcher.h"
#include "tarnlink/tarnlink.h"

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tarnlink {

class Slot final : public WatcherClient {
public:
    Slot() = default;
    ~Slot() override;

    void setFilter(const TarnDeviceFilter* filter);
    void setCallback(TarnReportCallback callback);
    std::int32_t open(TarnNoticeFunction notice, void* context, std::uint32_t message);
    // Stops the watcher and every reader; no notices unless the slot is suspended. The slot can be
    // opened again afterwards.
    void close();
    bool write(std::uint32_t deviceNumber, std::span<const std::uint8_t> data);
    std::uint16_t version() const;
    // The bus path of an open device; nothing when the slot has no device of that number.
    std::optional<std::string> devicePath(std::uint32_t deviceNumber) const;

    void onArrival(Bus& bus, const std::string& path) override;
    void onRemoval(const std::string& path) override;
    void onGone(std::uint64_t deviceSerial) override;
    void onSuspend() override;
    void onResume() override;

private:
    std::optional<UsagePair> match(const DeviceIdentity& identity) const;
    bool listed(const std::string& path) const;
    void offer(std::unique_ptr<DeviceLink> link);
    std::int32_t enumerate();
    // Unlinks the devices that pred selects, ends their readers and sends "removed" notices when
    // notify is set. The caller holds changeLock_.
    void removeLocked(const std::function<bool(const Device&)>& pred, bool notify);
    void notify(const _DEVICE_STATE& state);

    mutable std::mutex configLock_;  // filter and client
    TarnDeviceFilter filter_{};
    TarnNoticeFunction notice_ = nullptr;
    void* context_ = nullptr;
    std::uint32_t message_ = 0;
    std::atomic<TarnReportCallback> callback_{nullptr};

    // Serialises changes of the device list with their notices, so that the client sees "added" and
    // "removed" of one device in that order. Held across a notice, never across device I/O.
    std::mutex changeLock_;
    mutable std::mutex listLock_;  // the list and the numbering; never held across a notice or a wait
    std::vector<std::shared_ptr<Device>> devices_;
    std::uint32_t nextNumber_ = 1;
    std::mutex ioLock_;
    std::atomic<bool> suspended_{false};
    std::unique_ptr<Watcher> watcher_;
};

}  // namespace tarnlink
