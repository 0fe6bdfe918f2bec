#include "RaiseRequest.h"

#include "CompanionNotifier.h"
#include "RuntimeFile.h"

#include <QSocketNotifier>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace platform {

std::string RaiseSocketName(std::string_view instanceName) { return std::string(instanceName) + ".raise"; }

bool RequestRaise(std::string_view instanceName) {
    return NotifyCompanion(RaiseSocketName(instanceName), kRaiseMessage, 0, 0);
}

RaiseRequests::RaiseRequests(std::string_view instanceName, std::function<void()> onRequest)
    : onRequest_(std::move(onRequest)) {
    const auto path = RuntimeFilePath(RaiseSocketName(instanceName));
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (!path || path->size() >= sizeof(address.sun_path)) return;
    std::memcpy(address.sun_path, path->c_str(), path->size() + 1);
    const int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return;
    // A socket file left by a copy that crashed: this process holds the lock now, so it is nobody's.
    ::unlink(path->c_str());
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
        ::close(fd);
        return;
    }
    fd_ = fd;
    path_ = *path;
    notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &RaiseRequests::Drain);
}

RaiseRequests::~RaiseRequests() {
    if (fd_ < 0) return;
    delete notifier_;
    ::close(fd_);
    ::unlink(path_.c_str());
}

void RaiseRequests::Drain() {
    bool raise = false;
    std::uint8_t datagram[64];
    for (ssize_t n; (n = ::recv(fd_, datagram, sizeof datagram, 0)) >= 0 || errno == EINTR;) {
        if (n < 0) continue;
        std::uint32_t message = 0;
        if (n == static_cast<ssize_t>(kCompanionNoticeSize)) {
            for (int i = 3; i >= 0; --i) message = (message << 8) | datagram[i];
        }
        raise = raise || message == kRaiseMessage;
    }
    if (raise && onRequest_) onRequest_();
}

}  // namespace platform
