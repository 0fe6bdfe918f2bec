#include "Device.h"

#include "ReportFraming.h"
#include "tarnlink/VirtualWire.h"

#include <poll.h>
#include <sys/eventfd.h>

#include <array>
#include <cerrno>

namespace tarnlink {
namespace {

std::uint64_t nextSerial() {
    static std::atomic<std::uint64_t> counter{0};
    return ++counter;
}

}  // namespace

Device::Device(std::unique_ptr<DeviceLink> link, std::uint16_t number, UsagePair usage,
               TarnReportCallback callback, SlotShare share)
    : link_(std::move(link)), number_(number), serial_(nextSerial()), usage_(usage), callback_(callback), share_(std::move(share)) {}

Device::~Device() { stopReader(); }

bool Device::startReader() {
    stop_.reset(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
    if (!stop_.valid()) return false;
    try {
        reader_ = std::thread([this] { readLoop(); });
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void Device::stopReader() {
    if (!reader_.joinable()) return;
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t w = ::write(stop_.get(), &one, sizeof one);
    reader_.join();
}

void Device::readLoop() {
    std::array<std::uint8_t, kMaxPacketBytes + 1> wire{};
    const auto& caps = link_->identity().caps;
    // The client sees the matched collection only, as if it had a device of its own.
    const std::int32_t reportLength = caps.inputByteLengthOf(usage_);
    for (;;) {
        pollfd fds[2] = {{stop_.get(), POLLIN, 0}, {link_->fd(), POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            break;
        }
        if (fds[0].revents) return;
        const short revents = fds[1].revents;
        const bool hangUp = revents & (POLLHUP | POLLERR | POLLNVAL);
        if (!(revents & POLLIN)) {
            if (hangUp) break;
            continue;
        }
        std::size_t length = 0;
        IoResult result;
        {
            std::lock_guard lock(share_.ioLock);
            result = link_->readReport(wire, length);
        }
        if (result == IoResult::Gone || result == IoResult::Failed) break;
        if (result == IoResult::WouldBlock) continue;
        if (length == 0) {
            if (hangUp) break;  // end of the stream
            continue;
        }
        const TarnReportCallback callback = callback_;
        if (!callback || share_.suspended.load()) continue;
        // The callback gets a copy in a 1000-byte buffer of its own; reports of another length are dropped.
        std::array<std::uint8_t, TARN_REPORT_BUFFER_SIZE> report{};
        if (!normaliseInputReport(caps, usage_, std::span(wire.data(), length), report)) continue;
        callback(number_, report.data(), reportLength);
    }
    share_.onGone(serial_);
}

bool Device::write(std::span<const std::uint8_t> report) {
    const auto deadline = std::chrono::steady_clock::now() + kWriteTimeout;
    for (;;) {
        IoResult result;
        {
            std::lock_guard lock(share_.ioLock);
            result = link_->writeReport(report);
        }
        if (result != IoResult::WouldBlock) return result == IoResult::Done;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        pollfd p{link_->fd(), POLLOUT, 0};
        if (::poll(&p, 1, static_cast<int>(left.count())) == 0) return false;
    }
}

_DEVICE_STATE Device::state(std::int32_t event) const {
    _DEVICE_STATE s{};
    s.event = event;
    s.deviceNumber = number_;
    s.vendorId = identity().vendorId;
    s.productId = identity().productId;
    s.usage = usage_.usage;
    s.usagePage = usage_.usagePage;
    return s;
}

}  // namespace tarnlink
