#include "HidrawBus.h"
#include "UniqueFd.h"

#include <fcntl.h>
#include <linux/hidraw.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>

namespace tarnlink {
namespace {

class HidrawLink final : public DeviceLink {
public:
    HidrawLink(UniqueFd fd, DeviceIdentity identity) : fd_(std::move(fd)), identity_(std::move(identity)) {}

    const DeviceIdentity& identity() const override { return identity_; }
    int fd() const override { return fd_.get(); }

    IoResult readReport(std::span<std::uint8_t> buffer, std::size_t& length) override {
        const ssize_t n = ::read(fd_.get(), buffer.data(), buffer.size());
        if (n >= 0) {
            length = static_cast<std::size_t>(n);
            return IoResult::Done;
        }
        if (errno == EAGAIN || errno == EINTR) return IoResult::WouldBlock;
        return IoResult::Gone;  // EIO, ENODEV: unplugged; anything else would repeat forever
    }

    IoResult writeReport(std::span<const std::uint8_t> report) override {
        // hidraw takes every report with its id byte first, 0 for a device without report ids.
        const ssize_t n = ::write(fd_.get(), report.data(), report.size());
        if (n == static_cast<ssize_t>(report.size())) return IoResult::Done;
        if (n < 0 && (errno == EAGAIN || errno == EINTR)) return IoResult::WouldBlock;
        if (n < 0 && (errno == ENODEV || errno == EIO)) return IoResult::Gone;
        return IoResult::Failed;
    }

private:
    UniqueFd fd_;
    DeviceIdentity identity_;
};

// The release number (bcdDevice) of the USB device above the hidraw node; 0 for other buses.
std::uint16_t releaseNumber(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) return 0;
    std::error_code error;
    auto dir = std::filesystem::canonical("/sys/dev/char/" + std::to_string(major(st.st_rdev)) + ":" +
                                              std::to_string(minor(st.st_rdev)),
                                          error);
    for (int up = 0; !error && up < 6 && dir.has_parent_path(); ++up, dir = dir.parent_path()) {
        std::ifstream file(dir / "bcdDevice");
        unsigned value = 0;
        if (file >> std::hex >> value) return static_cast<std::uint16_t>(value);
    }
    return 0;
}

}  // namespace

const char* chooseMonitorSource(const std::string& udevControlPath) {
    return ::access(udevControlPath.c_str(), F_OK) == 0 ? "udev" : "kernel";
}

std::unique_ptr<DeviceLink> openHidraw(const std::string& node) {
    UniqueFd fd(::open(node.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC));
    if (!fd.valid()) return nullptr;  // held by another program or no permission: skipped
    hidraw_devinfo info{};
    int descriptorSize = 0;
    if (::ioctl(fd.get(), HIDIOCGRAWINFO, &info) < 0 || ::ioctl(fd.get(), HIDIOCGRDESCSIZE, &descriptorSize) < 0 ||
        descriptorSize < 0 || descriptorSize > HID_MAX_DESCRIPTOR_SIZE)
        return nullptr;
    hidraw_report_descriptor descriptor{};
    descriptor.size = static_cast<__u32>(descriptorSize);
    if (::ioctl(fd.get(), HIDIOCGRDESC, &descriptor) < 0) return nullptr;
    auto caps = parseReportDescriptor(std::span(descriptor.value, descriptor.size));
    if (!caps) return nullptr;
    DeviceIdentity identity{node, static_cast<std::uint16_t>(info.vendor), static_cast<std::uint16_t>(info.product),
                            releaseNumber(fd.get()), std::move(*caps)};
    return std::make_unique<HidrawLink>(std::move(fd), std::move(identity));
}

}  // namespace tarnlink
