#include "UhidDevice.h"

#include <fcntl.h>
#include <linux/uhid.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <string>

namespace kernel_guest {
namespace {

// How long the first input report waits for the kernel to bind the device; it is sent anyway after
// that, so a kernel without bind uevents only slows the first answer.
constexpr int kBindWaitMs = 5000;

// A unique string per created device, so that its bind uevent is told from any other device's.
std::string nextUniq() {
    static std::atomic<unsigned> counter{0};
    return "uhid-" + std::to_string(::getpid()) + "-" + std::to_string(++counter);
}

bool writeEvent(int fd, const uhid_event& event) {
    for (;;) {
        const ssize_t n = ::write(fd, &event, sizeof event);
        if (n == static_cast<ssize_t>(sizeof event)) return true;
        if (n < 0 && errno == EINTR) continue;
        return false;
    }
}

}  // namespace

std::unique_ptr<UhidDevice> UhidDevice::create(const UhidIdentity& identity, std::string& error) {
    if (identity.reportDescriptor.size() > HID_MAX_DESCRIPTOR_SIZE) {
        error = "report descriptor too long";
        return nullptr;
    }
    const int fd = ::open("/dev/uhid", O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        error = std::string("/dev/uhid: ") + std::strerror(errno);
        return nullptr;
    }
    // The watch listens before the device exists: its bind cannot come earlier than that.
    std::unique_ptr<UhidDevice> device(new UhidDevice(fd, nextUniq()));
    uhid_event event{};
    event.type = UHID_CREATE2;
    auto& create = event.u.create2;
    std::snprintf(reinterpret_cast<char*>(create.name), sizeof create.name, "%s", identity.name.c_str());
    std::snprintf(reinterpret_cast<char*>(create.phys), sizeof create.phys, "uhid/%s", identity.name.c_str());
    std::snprintf(reinterpret_cast<char*>(create.uniq), sizeof create.uniq, "%s", device->bindWatch_.uniq().c_str());
    create.rd_size = static_cast<__u16>(identity.reportDescriptor.size());
    create.bus = BUS_USB;
    create.vendor = identity.vendorId;
    create.product = identity.productId;
    create.version = identity.version;
    std::copy(identity.reportDescriptor.begin(), identity.reportDescriptor.end(), create.rd_data);
    if (!writeEvent(fd, event)) {
        error = std::string("UHID_CREATE2: ") + std::strerror(errno);
        return nullptr;
    }
    return device;
}

UhidDevice::~UhidDevice() {
    uhid_event event{};
    event.type = UHID_DESTROY;
    writeEvent(fd_, event);
    ::close(fd_);
}

std::optional<std::vector<std::uint8_t>> UhidDevice::waitForOutput(int timeoutMs) {
    pollfd pfd{fd_, POLLIN, 0};
    for (;;) {
        const int ready = ::poll(&pfd, 1, timeoutMs);
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return std::nullopt;
        uhid_event event{};
        const ssize_t n = ::read(fd_, &event, sizeof event);
        if (n <= 0) return std::nullopt;
        if (event.type == UHID_OUTPUT) {
            const auto& output = event.u.output;
            return std::vector<std::uint8_t>(output.data, output.data + std::min<std::size_t>(output.size, UHID_DATA_MAX));
        }
        if (event.type == UHID_GET_REPORT || event.type == UHID_SET_REPORT) {
            // The controller has no feature reports: refuse, so the caller does not wait for the kernel's
            // time-out.
            uhid_event reply{};
            const bool get = event.type == UHID_GET_REPORT;
            reply.type = get ? UHID_GET_REPORT_REPLY : UHID_SET_REPORT_REPLY;
            if (get) {
                reply.u.get_report_reply.id = event.u.get_report.id;
                reply.u.get_report_reply.err = EIO;
            } else {
                reply.u.set_report_reply.id = event.u.set_report.id;
                reply.u.set_report_reply.err = EIO;
            }
            writeEvent(fd_, reply);
        }
        // UHID_START, UHID_OPEN, UHID_CLOSE, UHID_STOP: nothing to do; keep waiting.
    }
}

bool UhidDevice::sendInput(std::span<const std::uint8_t> report) {
    if (report.size() > UHID_DATA_MAX) return false;
    bindWatch_.bound(kBindWaitMs);
    uhid_event event{};
    event.type = UHID_INPUT2;
    event.u.input2.size = static_cast<__u16>(report.size());
    std::copy(report.begin(), report.end(), event.u.input2.data);
    return writeEvent(fd_, event);
}

}  // namespace kernel_guest
