// The hidraw bus without libudev, for statically linked programs: enumeration from sysfs, hot-plug from
// the kernel's uevents (the "kernel" source; node permissions are whatever devtmpfs gives, so such a
// program runs as root, as in a test guest).
#include "HidrawBus.h"
#include "KernelUevent.h"
#include "UniqueFd.h"

#include <dirent.h>
#include <linux/netlink.h>
#include <sys/socket.h>

#include <algorithm>
#include <cstring>

namespace tarnlink {
namespace {

constexpr unsigned kKernelUeventGroup = 1;

}  // namespace

struct HidrawBus::Monitor {
    UniqueFd socket;
};

HidrawBus::HidrawBus(std::unique_ptr<Monitor> monitor) : monitor_(std::move(monitor)) {}
HidrawBus::~HidrawBus() = default;

std::unique_ptr<HidrawBus> HidrawBus::watch() {
    UniqueFd socket(::socket(AF_NETLINK, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, NETLINK_KOBJECT_UEVENT));
    if (!socket.valid()) return nullptr;
    sockaddr_nl address{};
    address.nl_family = AF_NETLINK;
    address.nl_groups = kKernelUeventGroup;
    const int on = 1;
    if (::bind(socket.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::setsockopt(socket.get(), SOL_SOCKET, SO_PASSCRED, &on, sizeof on) != 0)
        return nullptr;
    return std::unique_ptr<HidrawBus>(new HidrawBus(std::make_unique<Monitor>(Monitor{std::move(socket)})));
}

int HidrawBus::watchFd() const { return monitor_->socket.get(); }

const char* HidrawBus::monitorSource() const { return "kernel"; }

void HidrawBus::readEvents(std::vector<BusEvent>& events) {
    char buffer[8192];
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(ucred))];
    for (;;) {
        sockaddr_nl sender{};
        iovec io{buffer, sizeof buffer};
        msghdr message{};
        message.msg_name = &sender;
        message.msg_namelen = sizeof sender;
        message.msg_iov = &io;
        message.msg_iovlen = 1;
        message.msg_control = control;
        message.msg_controllen = sizeof control;
        const ssize_t n = ::recvmsg(monitor_->socket.get(), &message, MSG_DONTWAIT);
        if (n <= 0) return;
        // Only the kernel speaks on this group: anything sent by a process is ignored.
        const cmsghdr* header = CMSG_FIRSTHDR(&message);
        if (sender.nl_pid != 0 || !header || header->cmsg_type != SCM_CREDENTIALS) continue;
        ucred credentials{};
        std::memcpy(&credentials, CMSG_DATA(header), sizeof credentials);
        if (credentials.uid != 0) continue;
        if (auto event = parseKernelUevent(std::string_view(buffer, static_cast<std::size_t>(n))))
            events.push_back(std::move(*event));
    }
}

std::vector<std::string> HidrawBus::enumerate() {
    std::vector<std::string> nodes;
    if (DIR* dir = ::opendir("/sys/class/hidraw")) {
        while (const dirent* entry = ::readdir(dir))
            if (entry->d_name[0] != '.') nodes.push_back(std::string("/dev/") + entry->d_name);
        ::closedir(dir);
    }
    std::sort(nodes.begin(), nodes.end());
    return nodes;
}

}  // namespace tarnlink
