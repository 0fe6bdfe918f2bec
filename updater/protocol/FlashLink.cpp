#include "FlashLink.h"

#include "PreciseWait.h"
#include "ReplyRules.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdarg>
#include <cstdio>

namespace updater {

namespace {

constexpr std::uint32_t kNoticeMessage = 1282;
constexpr std::uint16_t kVendorUsage = 1;
constexpr std::uint16_t kVendorUsagePage = 0xFF00;
// The report id byte, then the 64 bytes of the reply.
constexpr std::int32_t kReportWithIdLength = 1 + static_cast<std::int32_t>(kReportSize);

// The link each slot's report callback serves; the library's report callback carries no context.
std::array<std::atomic<FlashLink*>, TARN_SLOT_COUNT> g_linkOfSlot{};

std::int32_t slotOf(FlashLink::Kind kind) {
    return kind == FlashLink::Kind::Application ? FlashLink::kApplicationSlot : FlashLink::kBootLoaderSlot;
}

linkexchange::ReplyRule ruleOf(FlashLink::Kind kind) {
    return kind == FlashLink::Kind::Application ? &applicationLinkAccepts : &bootLoaderLinkAccepts;
}

bool sameCollection(const _DEVICE_STATE& a, const _DEVICE_STATE& b) {
    return a.usage == b.usage && a.usagePage == b.usagePage;
}

}  // namespace

FlashLink::FlashLink(Kind kind) : kind_(kind), slot_(slotOf(kind)), reply_(ruleOf(kind)) {}

FlashLink::~FlashLink() { close(); }

void FlashLink::setChangeObserver(std::function<void(DeviceChange)> observer) { observer_ = std::move(observer); }

void FlashLink::setTrace(std::function<void(const std::string&)> trace) { trace_ = std::move(trace); }

template <std::int32_t Slot>
void FlashLink::onReport(std::int32_t deviceNumber, const std::uint8_t* report, std::int32_t length) {
    if (FlashLink* link = g_linkOfSlot[Slot].load()) link->handleReport(deviceNumber, report, length);
}

bool FlashLink::open(std::uint16_t vendorId, std::uint16_t productId) {
    static constexpr TarnReportCallback kCallbacks[] = {&onReport<0>, &onReport<1>};
    close();
    g_linkOfSlot[slot_].store(this);
    TarnDeviceFilter filter{};
    filter.vendorId = vendorId;
    filter.productId = productId;
    filter.pairCount = 1;
    filter.pairs[0] = {kVendorUsage, kVendorUsagePage};
    TarnSetFilter(&filter, slot_);
    TarnSetReportCallback(kCallbacks[slot_], slot_);
    open_ = true;
    return TarnOpen(&FlashLink::onNotice, this, kNoticeMessage, slot_) != 0;
}

void FlashLink::close() {
    if (!open_) return;
    const TarnDeviceFilter none{};
    TarnSetFilter(&none, slot_);
    TarnSetReportCallback(nullptr, slot_);
    // Stops the watcher and the readers first, so neither a notice nor a report can still arrive.
    TarnClose(slot_);
    FlashLink* self = this;
    g_linkOfSlot[slot_].compare_exchange_strong(self, nullptr);
    std::lock_guard lock(devicesMutex_);
    devices_.clear();
    connected_ = false;
    open_ = false;
}

bool FlashLink::connected() const {
    std::lock_guard lock(devicesMutex_);
    return connected_;
}

std::uint16_t FlashLink::deviceNumber() const {
    std::lock_guard lock(devicesMutex_);
    const auto found = std::find_if(devices_.begin(), devices_.end(), [](const _DEVICE_STATE& d) {
        return d.usage == kVendorUsage && d.usagePage == kVendorUsagePage;
    });
    return found == devices_.end() ? 0 : found->deviceNumber;
}

void FlashLink::onNotice(void* context, std::uint32_t message, std::uintptr_t, const _DEVICE_STATE* state) {
    if (context != nullptr && state != nullptr && message == kNoticeMessage)
        static_cast<FlashLink*>(context)->handleNotice(*state);
}

void FlashLink::handleNotice(const _DEVICE_STATE& state) {
    const bool added = state.event == TARN_EVENT_ADDED;
    trace("%s:dwDeviceID=%x,usage:0x%x,uagePage:0x%x\n", added ? "MONITOROPEN" : "MONITORCLOSE",
          state.deviceNumber, state.usage, state.usagePage);
    bool changed = false;
    DeviceChange change = DeviceChange::Listed;
    {
        std::lock_guard lock(devicesMutex_);
        if (added) {
            const auto same = std::find_if(devices_.begin(), devices_.end(),
                                           [&](const _DEVICE_STATE& d) { return sameCollection(d, state); });
            if (same != devices_.end()) {
                // The same device announced again is taken as it is now; another device of the same
                // kind (a second controller) stays unlisted while this one is held.
                if (same->deviceNumber == state.deviceNumber) *same = state;
                else ++unlistedArrivals_;
            } else {
                devices_.push_back(state);
                connected_ = true;
                changed = true;
            }
        } else {
            // A removal names the device that went; the all-zero notice (nothing present) names none.
            const bool wasEmpty = devices_.empty();
            const auto gone = std::find_if(devices_.begin(), devices_.end(),
                                           [&](const _DEVICE_STATE& d) { return d.deviceNumber == state.deviceNumber; });
            if (gone != devices_.end()) devices_.erase(gone);
            if (wasEmpty || (devices_.empty() && connected_)) {
                connected_ = false;
                changed = true;
                change = DeviceChange::Lost;
            }
        }
    }
    if (changed && observer_) observer_(change);
}

void FlashLink::handleReport(std::int32_t deviceNumber, const std::uint8_t* report, std::int32_t length) {
    if (report == nullptr) return;
    trace("ID:%x,pBuffer=%p , Length=%x\n", static_cast<unsigned>(deviceNumber), static_cast<const void*>(report),
          static_cast<unsigned>(length));
    if (length >= 9)
        trace("%02x %02x %02x %02x %02x %02x %02x %02x %02x\n", report[0], report[1], report[2], report[3], report[4],
              report[5], report[6], report[7], report[8]);
    if (length != kReportWithIdLength || deviceNumber == 0 || deviceNumber != this->deviceNumber()) return;
    reply_.Offer(std::span<const std::uint8_t, kReportSize>(report + 1, kReportSize));
}

ExchangeResult FlashLink::exchange(CommandReport& report, std::chrono::milliseconds wait, bool awaitReply) {
    std::lock_guard exchangeLock(exchangeMutex_);
    return exchangeLocked(deviceNumber(), report, wait, awaitReply);
}

ExchangeResult FlashLink::exchangeWith(std::uint16_t device, CommandReport& report, std::chrono::milliseconds wait,
                                       bool awaitReply) {
    std::lock_guard exchangeLock(exchangeMutex_);
    if (device != deviceNumber()) return ExchangeResult::NoDevice;
    return exchangeLocked(device, report, wait, awaitReply);
}

ExchangeResult FlashLink::exchangeLocked(std::uint16_t device, CommandReport& report, std::chrono::milliseconds wait,
                                         bool awaitReply) {
    if (device == 0) return ExchangeResult::NoDevice;
    const auto started = std::chrono::steady_clock::now();
    if (awaitReply) reply_.Arm(report);
    const bool written = TarnWrite(device, report.data(), static_cast<std::int32_t>(kReportSize), slot_) != 0;
    platform::PreciseWaitFor(kWriteSettleTime);
    // A report that never went out gets no reply: no need to wait for one.
    if (!written) return ExchangeResult::WriteFailed;
    if (!awaitReply) return ExchangeResult::Ok;
    if (!reply_.Await(wait, report)) return ExchangeResult::NoReply;
    if (isErrorReply(report)) return ExchangeResult::ErrorReply;
    noteExchangeTime(std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - started));
    return ExchangeResult::Ok;
}

void FlashLink::noteExchangeTime(std::chrono::microseconds taken) {
    // A running average that follows the link's pace within a few exchanges.
    const std::int64_t previous = averageMicroseconds_.load();
    averageMicroseconds_.store(previous == 0 ? taken.count() : (previous * 3 + taken.count()) / 4);
}

std::chrono::microseconds FlashLink::averageExchangeTime() const {
    return std::chrono::microseconds(averageMicroseconds_.load());
}

void FlashLink::trace(const char* format, ...) const {
    if (!trace_) return;
    char line[160];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(line, sizeof line, format, arguments);
    va_end(arguments);
    trace_(line);
}

}  // namespace updater
