#include "Slot.h"

#include "HidrawBus.h"
#if TARNLINK_SYSTEM_LIBRARIES
#include "LogindPower.h"
#endif
#include "ReportFraming.h"
#include "VirtualBus.h"
#include "tarnlink/VirtualWire.h"

#include <algorithm>

namespace tarnlink {
namespace {

// Every backend that can start here; one that cannot (no udev monitor, no bus folder, no system bus)
// stays out of the slot.
std::vector<std::unique_ptr<Bus>> startBuses() {
    std::vector<std::unique_ptr<Bus>> buses;
    if (auto hidraw = HidrawBus::watch()) buses.push_back(std::move(hidraw));
    if (auto bus = VirtualBus::watch(virtualBusFolder())) buses.push_back(std::move(bus));
#if TARNLINK_SYSTEM_LIBRARIES
    if (auto power = LogindPower::watch()) buses.push_back(std::move(power));
#endif
    return buses;
}

}  // namespace

Slot::~Slot() { close(); }

void Slot::setFilter(const TarnDeviceFilter* filter) {
    std::lock_guard lock(configLock_);
    filter_ = filter ? *filter : TarnDeviceFilter{};
}

void Slot::setCallback(TarnReportCallback callback) { callback_ = callback; }

std::int32_t Slot::open(TarnNoticeFunction notice, void* context, std::uint32_t message) {
    {
        std::lock_guard lock(configLock_);
        notice_ = notice;
        context_ = context;
        message_ = message;
    }
    if (!watcher_) {
        watcher_ = Watcher::start(*this, startBuses());
        if (!watcher_) return 0;
    }
    return enumerate();
}

void Slot::close() {
    if (!watcher_) return;
    watcher_->stop();
    {
        std::lock_guard change(changeLock_);
        removeLocked([](const Device&) { return true; }, suspended_);
        std::lock_guard list(listLock_);
        nextNumber_ = 1;
    }
    watcher_.reset();
    suspended_ = false;
}

bool Slot::write(std::uint32_t deviceNumber, std::span<const std::uint8_t> data) {
    if (deviceNumber == 0 || suspended_) return false;
    std::shared_ptr<Device> device;
    {
        std::lock_guard lock(listLock_);
        const auto it = std::find_if(devices_.begin(), devices_.end(),
                                     [&](const auto& d) { return d->number() == deviceNumber; });
        if (it == devices_.end()) return false;
        device = *it;
    }
    const auto report = buildOutputReport(device->identity().caps, device->usage(), data);
    return report && device->write(*report);
}

std::uint16_t Slot::version() const {
    std::lock_guard lock(listLock_);
    return devices_.empty() ? 0 : devices_.front()->identity().version;
}

std::optional<std::string> Slot::devicePath(std::uint32_t deviceNumber) const {
    std::lock_guard lock(listLock_);
    for (const auto& device : devices_)
        if (device->number() == deviceNumber) return device->identity().path;
    return std::nullopt;
}

std::optional<UsagePair> Slot::match(const DeviceIdentity& identity) const {
    // Reports must fit the callback's 1000-byte buffer.
    if (identity.caps.byteLength(ReportType::Input) > TARN_REPORT_BUFFER_SIZE) return std::nullopt;
    std::lock_guard lock(configLock_);
    if (identity.vendorId != filter_.vendorId || identity.productId != filter_.productId) return std::nullopt;
    const std::uint32_t pairs = std::min<std::uint32_t>(filter_.pairCount, TARN_FILTER_PAIRS);
    for (const auto& collection : identity.caps.topLevelCollections)
        for (std::uint32_t i = 0; i < pairs; ++i)
            if (collection.usagePage == filter_.pairs[i].usagePage && collection.usage == filter_.pairs[i].usage)
                return collection;
    return std::nullopt;
}

bool Slot::listed(const std::string& path) const {
    std::lock_guard lock(listLock_);
    return std::any_of(devices_.begin(), devices_.end(),
                       [&](const auto& d) { return d->identity().path == path; });
}

void Slot::offer(std::unique_ptr<DeviceLink> link) {
    const auto usage = match(link->identity());
    if (!usage) return;
    std::lock_guard change(changeLock_);
    std::shared_ptr<Device> device;
    {
        std::lock_guard list(listLock_);
        // Enumeration and arrival can both see a device that comes during TarnOpen: list it once.
        const auto& path = link->identity().path;
        if (std::any_of(devices_.begin(), devices_.end(), [&](const auto& d) { return d->identity().path == path; }))
            return;
        SlotShare share{ioLock_, suspended_, [this](std::uint64_t serial) { watcher_->deviceGone(serial); }};
        device = std::make_shared<Device>(std::move(link), static_cast<std::uint16_t>(nextNumber_), *usage,
                                          callback_.load(), std::move(share));
        if (!device->startReader()) return;
        ++nextNumber_;
        devices_.push_back(device);
    }
    notify(device->state(TARN_EVENT_ADDED));
}

std::int32_t Slot::enumerate() {
    for (const auto& bus : watcher_->buses())
        for (const auto& path : bus->enumerate())
            if (!listed(path))
                if (auto link = bus->open(path)) offer(std::move(link));
    std::lock_guard change(changeLock_);
    std::uint32_t next = 0;
    {
        std::lock_guard list(listLock_);
        next = nextNumber_;
    }
    if (next == 1) {
        notify(_DEVICE_STATE{});
        return 0;
    }
    return static_cast<std::int32_t>(next);
}

void Slot::removeLocked(const std::function<bool(const Device&)>& pred, bool notifyClient) {
    std::vector<std::shared_ptr<Device>> removed;
    {
        std::lock_guard list(listLock_);
        for (auto it = devices_.begin(); it != devices_.end();) {
            if (pred(**it)) {
                removed.push_back(std::move(*it));
                it = devices_.erase(it);
            } else {
                ++it;
            }
        }
    }
    for (const auto& device : removed) {
        device->stopReader();
        if (notifyClient) notify(device->state(TARN_EVENT_REMOVED));
    }
}

void Slot::notify(const _DEVICE_STATE& state) {
    TarnNoticeFunction notice = nullptr;
    void* context = nullptr;
    std::uint32_t message = 0;
    {
        std::lock_guard lock(configLock_);
        notice = notice_;
        context = context_;
        message = message_;
    }
    if (notice) notice(context, message, 1, &state);
}

void Slot::onArrival(Bus& bus, const std::string& path) {
    if (suspended_ || listed(path)) return;
    if (auto link = bus.open(path)) offer(std::move(link));
}

void Slot::onRemoval(const std::string& path) {
    std::lock_guard change(changeLock_);
    removeLocked([&](const Device& d) { return d.identity().path == path; }, true);
}

void Slot::onGone(std::uint64_t deviceSerial) {
    std::lock_guard change(changeLock_);
    removeLocked([&](const Device& d) { return d.serial() == deviceSerial; }, true);
}

void Slot::onSuspend() {
    suspended_ = true;
    std::lock_guard change(changeLock_);
    removeLocked([](const Device&) { return true; }, true);
    std::lock_guard list(listLock_);
    nextNumber_ = 1;
}

void Slot::onResume() {
    if (suspended_.exchange(false)) enumerate();
}

}  // namespace tarnlink
