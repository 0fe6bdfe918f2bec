#include "CompanionNotifier.h"

#include "RuntimeFile.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace platform {

namespace {

void PutLittleEndian64(std::uint8_t* out, std::uint64_t value) {
    for (int i = 0; i < 8; ++i) {
        out[i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

}  // namespace

std::array<std::uint8_t, kCompanionNoticeSize> EncodeCompanionNotice(std::uint32_t message, std::uintptr_t wParam,
                                                                     std::intptr_t lParam) {
    std::array<std::uint8_t, kCompanionNoticeSize> notice{};
    PutLittleEndian64(notice.data(), message);
    PutLittleEndian64(notice.data() + 8, wParam);
    // Widening to 64 bits keeps the sign; the cast to unsigned then gives the two's-complement bytes.
    PutLittleEndian64(notice.data() + 16, static_cast<std::uint64_t>(static_cast<std::int64_t>(lParam)));
    return notice;
}

bool NotifyCompanion(std::string_view name, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    const auto path = RuntimeFilePath(name);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    // A path that does not fit the address (with its terminator) cannot name a socket.
    if (!path || path->size() >= sizeof(address.sun_path)) {
        return false;
    }
    std::memcpy(address.sun_path, path->c_str(), path->size() + 1);

    const int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return false;
    }
    const auto notice = EncodeCompanionNotice(message, wParam, lParam);
    ssize_t sent;
    do {
        sent = sendto(fd, notice.data(), notice.size(), MSG_DONTWAIT | MSG_NOSIGNAL,
                      reinterpret_cast<const sockaddr*>(&address), sizeof(address));
    } while (sent < 0 && errno == EINTR);
    close(fd);
    return sent == static_cast<ssize_t>(notice.size());
}

}  // namespace platform
