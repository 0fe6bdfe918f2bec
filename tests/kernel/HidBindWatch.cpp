#include "HidBindWatch.h"

#include <linux/netlink.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <string_view>

namespace kernel_guest {
namespace {

constexpr unsigned kKernelUeventGroup = 1;

}  // namespace

HidBindWatch::HidBindWatch(std::string uniq) : uniq_(std::move(uniq)) {
    socket_ = ::socket(AF_NETLINK, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, NETLINK_KOBJECT_UEVENT);
    if (socket_ < 0) return;
    sockaddr_nl address{};
    address.nl_family = AF_NETLINK;
    address.nl_groups = kKernelUeventGroup;
    if (::bind(socket_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(socket_);
        socket_ = -1;
    }
}

HidBindWatch::~HidBindWatch() {
    if (socket_ >= 0) ::close(socket_);
}

// "bind@/devices/...\0ACTION=bind\0SUBSYSTEM=hid\0...HID_UNIQ=<uniq>\0..."
bool HidBindWatch::isOurBind(const char* message, std::size_t length) const {
    std::string_view rest(message, length);
    bool bind = false, hid = false, ours = false;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\0');
        const std::string_view field = rest.substr(0, end);
        if (field == "ACTION=bind") bind = true;
        else if (field == "SUBSYSTEM=hid") hid = true;
        else if (field.starts_with("HID_UNIQ=") && field.substr(9) == uniq_) ours = true;
        if (end == std::string_view::npos) break;
        rest.remove_prefix(end + 1);
    }
    return bind && hid && ours;
}

bool HidBindWatch::bound(int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    char buffer[8192];
    while (!bound_) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        if (socket_ < 0) {
            ::usleep(static_cast<useconds_t>(left.count()) * 1000);
            return false;
        }
        pollfd pfd{socket_, POLLIN, 0};
        const int ready = ::poll(&pfd, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno != EINTR) return false;
        if (ready <= 0) continue;
        for (;;) {
            const ssize_t n = ::recv(socket_, buffer, sizeof buffer, MSG_DONTWAIT);
            if (n <= 0) break;
            if (isOurBind(buffer, static_cast<std::size_t>(n))) bound_ = true;
        }
    }
    return true;
}

}  // namespace kernel_guest
