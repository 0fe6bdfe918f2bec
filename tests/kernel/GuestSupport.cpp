#include "GuestSupport.h"

#include <atomic>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <sstream>
#include <string>
#include <thread>

namespace kernel_guest {
namespace {

std::atomic<SlotRecorder*> g_reportRecorder{nullptr};

bool hidrawPresent(const std::string& hidId) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/sys/class/hidraw", error)) {
        std::ifstream uevent(entry.path() / "device" / "uevent");
        std::string line;
        while (std::getline(uevent, line))
            if (line == hidId) return true;
    }
    return false;
}

}  // namespace

bool waitForHidraw(std::uint16_t vendorId, std::uint16_t productId, bool present) {
    char hidId[40];
    std::snprintf(hidId, sizeof hidId, "HID_ID=0003:%08X:%08X", vendorId, productId);
    const auto deadline = std::chrono::steady_clock::now() + kDeadline;
    while (hidrawPresent(hidId) != present) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

SlotRecorder::SlotRecorder() { g_reportRecorder = this; }
SlotRecorder::~SlotRecorder() { g_reportRecorder = nullptr; }

void SlotRecorder::OnNotice(void* context, std::uint32_t message, std::uintptr_t, const _DEVICE_STATE* state) {
    auto* recorder = static_cast<SlotRecorder*>(context);
    std::lock_guard lock(recorder->mutex_);
    recorder->notices_.push_back(*state);
    recorder->messages_.push_back(message);
    recorder->changed_.notify_all();
}

void SlotRecorder::OnReport(std::int32_t deviceNumber, const std::uint8_t* report, std::int32_t length) {
    SlotRecorder* recorder = g_reportRecorder.load();
    if (!recorder) return;
    std::lock_guard lock(recorder->mutex_);
    recorder->reports_.push_back({deviceNumber, std::vector<std::uint8_t>(report, report + length)});
    recorder->changed_.notify_all();
}

std::vector<_DEVICE_STATE> SlotRecorder::notices() const {
    std::lock_guard lock(mutex_);
    return notices_;
}

std::vector<InputReport> SlotRecorder::reports() const {
    std::lock_guard lock(mutex_);
    return reports_;
}

std::vector<std::uint32_t> SlotRecorder::messages() const {
    std::lock_guard lock(mutex_);
    return messages_;
}

bool SlotRecorder::waitForNotices(const std::function<bool(const std::vector<_DEVICE_STATE>&)>& condition) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, kDeadline, [&] { return condition(notices_); });
}

bool SlotRecorder::waitForReports(std::size_t count) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, kDeadline, [&] { return reports_.size() >= count; });
}

_DEVICE_STATE controllerNotice(std::int32_t event, std::uint16_t deviceNumber, std::uint16_t productId) {
    return _DEVICE_STATE{event, deviceNumber, 0x2516, productId, 1, 0xFF00, 0};
}

}  // namespace kernel_guest

bool operator==(const _DEVICE_STATE& a, const _DEVICE_STATE& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

std::ostream& operator<<(std::ostream& out, const _DEVICE_STATE& s) {
    std::ostringstream text;
    text << std::hex << "{event " << s.event << ", device " << std::dec << s.deviceNumber << std::hex << ", "
         << s.vendorId << ":" << s.productId << ", usage " << s.usage << "/" << s.usagePage << "}";
    return out << text.str();
}

