#include "CUSBDriver.h"

#include "PreciseWait.h"

#include "DebugLog.h"
#include "DebugOutput.h"
#include "LinkMessages.h"
#include "WindowMessage.h"

#include <QCoreApplication>
#include <QEvent>

#include <algorithm>
#include <thread>

namespace config {

namespace {

constexpr std::uint16_t kVendorUsagePage = 0xFF00;
constexpr std::uint16_t kVendorUsage = 1;
constexpr std::int32_t kControllerSlot = 0;
constexpr std::int32_t kReportWithIdLength = 1 + static_cast<std::int32_t>(kReportSize);
constexpr std::uint8_t kEventCommand = 0x42;
constexpr std::uint8_t kEventKey = 0x20;
constexpr std::uint16_t kEventIndexButton = 0x0000;
constexpr std::uint16_t kEventIndexPlain = 0x0040;

// The controller link that the slot-0 report callback serves.
std::atomic<CUSBDriver*> g_controllerLink{nullptr};

void ServeControllerReport(std::int32_t /*deviceNumber*/, const std::uint8_t* report, std::int32_t length) {
    CUSBDriver::HandleReport(g_controllerLink.load(), report, length);
}

// A notice of the library's watcher thread on its way to the link's own thread; the record is copied
// because the library's one is valid only during the notice.
class DeviceNoticeEvent : public QEvent {
public:
    static QEvent::Type EventType() {
        static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
        return type;
    }
    DeviceNoticeEvent(std::uint32_t generation, std::uintptr_t wParam, const _DEVICE_STATE& state)
        : QEvent(EventType()), generation(generation), wParam(wParam), state(state) {}

    const std::uint32_t generation;
    const std::uintptr_t wParam;
    const _DEVICE_STATE state;
};

// "MONITOROPEN:..." / "MONITORCLOSE:..." on the debugger output (standard error while debugging is on).
void WriteMonitorLine(std::u16string_view format, const _DEVICE_STATE& state) {
    const DebugLogArgument arguments[] = {ToDebugLogArgument(state.deviceNumber), ToDebugLogArgument(state.usage),
                                          ToDebugLogArgument(state.usagePage)};
    platform::DebugOutput(FormatDebugMessage(format, arguments));
}

}  // namespace

CUSBDriver::CUSBDriver(const TarnlinkApi& tarnlink, QObject* parent)
    : QObject(parent), tarnlink_(tarnlink), ownThread_(std::this_thread::get_id()) {}

CUSBDriver::~CUSBDriver() {
    if (servedLink_ != nullptr && servedLink_->load() == this) {
        // Stops the watcher and the readers first, so neither a notice nor a report can still arrive.
        tarnlink_.close(slot_);
        servedLink_->store(nullptr);
    }
}

bool CUSBDriver::OpenDevice() {
    if (g_debugLog) {
        WriteDebugLog(u"Open USB Driver");
    }
    return OpenSlot({kControllerSlot, kProductId, &ServeControllerReport, &g_controllerLink});
}

bool CUSBDriver::OpenSlot(const SlotSettings& settings) {
    if (openIndicator_.load() != 0) {
        tarnlink_.close(slot_);
        // The reopened slot numbers its devices afresh and reports them again: the old entries would
        // only send commands to numbers that no longer exist.
        devices_.Clear();
    }
    ++noticeGeneration_;
    settings.servedLink->store(this);
    servedLink_ = settings.servedLink;
    slot_ = settings.slot;

    TarnDeviceFilter filter{};
    filter.vendorId = kVendorId;
    filter.productId = settings.productId;
    filter.pairCount = 1;
    filter.pairs[0] = {kVendorUsage, kVendorUsagePage};
    tarnlink_.setFilter(&filter, slot_);
    tarnlink_.setReportCallback(settings.callback, slot_);
    // The enumeration delivers its notices on this thread before the call returns.
    const std::int32_t result = tarnlink_.open(&CUSBDriver::OnNotice, this, kTarnNoticeMessage, slot_);
    openIndicator_.store(result);
    return result != 0;
}

int CUSBDriver::SetData(std::span<std::uint8_t, kReportSize> report) {
    if (g_debugLog) {
        WriteDebugLog(u"SetData Out: cmd:%x, Key:%x, Index:%x, Data:%x", report[0], report[1], ReportIndex(report),
                      report[4]);
    }
    // The command becomes the pending one and the reply event is reset before anything is written.
    exchange_.Arm(report);
    bool written = false;
    if (openIndicator_.load() != 0) {
        written = tarnlink_.write(devices_.TargetDeviceNumber(), report.data(), kReportSize, slot_) != 0;
        DelayMicroseconds(kWriteSettleTime.count());
    }
    if (!exchange_.Await(kReplyTimeout, report)) {
        if (g_debugLog) {
            WriteDebugLog(u"SetData Error ...Error ");
        }
        return 1;
    }
    if (g_debugLog) {
        WriteDebugLog(u"SetData In: cmd:%x, Key:%x, Index:%x, Data:%x", report[0], report[1], ReportIndex(report),
                      report[4]);
    }
    return written ? 0 : 1;
}

void CUSBDriver::DelayMicroseconds(std::int64_t microseconds) { platform::PreciseWaitMicroseconds(microseconds); }

void CUSBDriver::StepDelay() const { DelayMicroseconds(std::int64_t{stepDelay_} * 1000); }

std::size_t CUSBDriver::ProfileBlockBytes() const { return std::min<std::size_t>(blockLength_, kReportDataSize); }

void CUSBDriver::HandleReport(CUSBDriver* link, const std::uint8_t* report, std::int32_t length) {
    if (link == nullptr || report == nullptr || length != kReportWithIdLength) {
        return;
    }
    link->HandleInput(std::span<const std::uint8_t, kReportSize>(report + 1, kReportSize));
}

void CUSBDriver::HandleInput(std::span<const std::uint8_t, kReportSize> report) {
    if (exchange_.Offer(report)) {
        return;  // the reply to the pending command: nothing else is done with it
    }
    if (report[0] != kEventCommand || report[1] != kEventKey || owner_.load() == nullptr) {
        return;
    }
    const std::uint16_t index = ReportIndex(report);
    if (index == kEventIndexButton) {
        if (report[4] != 0 || report[7] != 0 || report[8] != 0) {
            PostToOwner(WM_DEVICE_EVENT, report[4], openIndicator_.load());
        }
    } else if (index == kEventIndexPlain) {
        PostToOwner(WM_DEVICE_EVENT, 0, openIndicator_.load());
    }
}

void CUSBDriver::OnNotice(void* context, std::uint32_t message, std::uintptr_t wParam, const _DEVICE_STATE* state) {
    auto* link = static_cast<CUSBDriver*>(context);
    if (link == nullptr || state == nullptr || message != kTarnNoticeMessage) {
        return;
    }
    if (std::this_thread::get_id() == link->ownThread_) {
        link->HandleNotice(wParam, *state);
        return;
    }
    QCoreApplication::postEvent(link, new DeviceNoticeEvent(link->noticeGeneration_.load(), wParam, *state));
}

bool CUSBDriver::event(QEvent* event) {
    if (event->type() == DeviceNoticeEvent::EventType()) {
        const auto* notice = static_cast<const DeviceNoticeEvent*>(event);
        if (notice->generation == noticeGeneration_.load()) {
            HandleNotice(notice->wParam, notice->state);
        }
        return true;
    }
    return QObject::event(event);
}

void CUSBDriver::HandleNotice(std::uintptr_t wParam, const _DEVICE_STATE& state) {
    if (wParam != 1) {
        return;
    }
    if (state.event == TARN_EVENT_ADDED) {
        WriteMonitorLine(u"MONITOROPEN:dwDeviceID=%x,usage:0x%x,uagePage:0x%x\n", state);
        devices_.Add(state);
        openIndicator_.store(1);
        PostToOwner(WM_DEVICE_PLUG, static_cast<std::uintptr_t>(slot_), 1);
    } else if (state.event == TARN_EVENT_REMOVED) {
        WriteMonitorLine(u"MONITORCLOSE:dwDeviceID=%x,usage:0x%x,uagePage:0x%x\n", state);
        // A removal of a device that is not listed, while others are, changes nothing.
        const bool wasEmpty = devices_.Empty();
        devices_.Remove(state.deviceNumber);
        if ((devices_.Empty() && openIndicator_.load() != 0) || wasEmpty) {
            openIndicator_.store(0);
            PostToOwner(WM_DEVICE_PLUG, static_cast<std::uintptr_t>(slot_), 0);
        }
    }
}

void CUSBDriver::PostToOwner(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) const {
    platform::PostWindowMessage(owner_.load(), message, wParam, lParam);
}

}  // namespace config
