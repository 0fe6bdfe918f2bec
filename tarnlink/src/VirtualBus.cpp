#include "VirtualBus.h"

#include "ReportFraming.h"

#include "tarnlink/VirtualWire.h"

#include <dirent.h>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>

namespace tarnlink {
namespace {

bool isSocket(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISSOCK(st.st_mode);
}

// Names starting with a dot are the bus's own temporary files (a device binds under a dotted name and
// renames it once it listens).
bool isDeviceName(const char* name) { return name[0] != '.' && std::strcmp(name, kPowerFileName) != 0; }

class VirtualLink final : public DeviceLink {
public:
    VirtualLink(UniqueFd socket, DeviceIdentity identity)
        : socket_(std::move(socket)), identity_(std::move(identity)) {}

    const DeviceIdentity& identity() const override { return identity_; }
    int fd() const override { return socket_.get(); }

    IoResult readReport(std::span<std::uint8_t> buffer, std::size_t& length) override {
        const ssize_t n = ::recv(socket_.get(), buffer.data(), buffer.size(), MSG_DONTWAIT);
        if (n >= 0) {
            length = static_cast<std::size_t>(n);
            return IoResult::Done;
        }
        if (errno == EAGAIN || errno == EINTR) return IoResult::WouldBlock;
        return IoResult::Gone;
    }

    IoResult writeReport(std::span<const std::uint8_t> report) override {
        const auto wire = wireOutputReport(identity_.caps, report);
        const ssize_t n = ::send(socket_.get(), wire.data(), wire.size(), MSG_DONTWAIT | MSG_NOSIGNAL);
        if (n == static_cast<ssize_t>(wire.size())) return IoResult::Done;
        if (n < 0 && (errno == EAGAIN || errno == EINTR)) return IoResult::WouldBlock;
        if (n < 0 && (errno == EPIPE || errno == ECONNRESET || errno == ENOTCONN)) return IoResult::Gone;
        return IoResult::Failed;
    }

private:
    UniqueFd socket_;
    DeviceIdentity identity_;
};

UniqueFd connectTo(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof(address.sun_path)) return {};
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    UniqueFd fd(::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (!fd.valid()) return {};
    if (::connect(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) return {};
    return fd;
}

// The first packet of a connection, within the deadline.
std::optional<std::vector<std::uint8_t>> receiveFirstPacket(int fd, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    std::vector<std::uint8_t> packet(kMaxPacketBytes + 1);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return std::nullopt;
        pollfd p{fd, POLLIN, 0};
        const int r = ::poll(&p, 1, static_cast<int>(left.count()));
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) return std::nullopt;
        const ssize_t n = ::recv(fd, packet.data(), packet.size(), MSG_DONTWAIT);
        if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
        if (n <= 0) return std::nullopt;  // closed before describing itself
        packet.resize(static_cast<std::size_t>(n));
        return packet;
    }
}

}  // namespace

std::unique_ptr<VirtualBus> VirtualBus::watch(const std::string& folder) {
    if (folder.empty()) return nullptr;
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return nullptr;
    UniqueFd inotify(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC));
    if (!inotify.valid()) return nullptr;
    const std::uint32_t mask = IN_CREATE | IN_MOVED_TO | IN_DELETE | IN_MOVED_FROM | IN_CLOSE_WRITE;
    if (::inotify_add_watch(inotify.get(), folder.c_str(), mask) < 0) return nullptr;
    return std::unique_ptr<VirtualBus>(new VirtualBus(folder, std::move(inotify)));
}

void VirtualBus::readEvents(std::vector<BusEvent>& events) {
    alignas(inotify_event) char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(inotify_.get(), buffer, sizeof buffer);
        if (n <= 0) return;
        for (ssize_t at = 0; at < n;) {
            const auto* e = reinterpret_cast<const inotify_event*>(buffer + at);
            at += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
            if (e->mask & IN_Q_OVERFLOW) {
                // Events were lost: offer every present device again; known ones are skipped.
                for (auto& path : enumerate()) events.push_back({BusEvent::Kind::Arrival, std::move(path)});
                continue;
            }
            if (e->len == 0) continue;
            const std::string path = folder_ + "/" + e->name;
            if (std::strcmp(e->name, kPowerFileName) == 0) {
                if (e->mask & (IN_CLOSE_WRITE | IN_MOVED_TO)) readPowerFile(events);
                continue;
            }
            if (!isDeviceName(e->name)) continue;
            if ((e->mask & (IN_CREATE | IN_MOVED_TO)) && isSocket(path))
                events.push_back({BusEvent::Kind::Arrival, path});
            else if (e->mask & (IN_DELETE | IN_MOVED_FROM))
                events.push_back({BusEvent::Kind::Removal, path});
        }
    }
}

void VirtualBus::readPowerFile(std::vector<BusEvent>& events) const {
    std::ifstream file(folder_ + "/" + kPowerFileName);
    std::string word;
    file >> word;
    if (word == "suspend") events.push_back({BusEvent::Kind::Suspend, {}});
    else if (word == "resume") events.push_back({BusEvent::Kind::Resume, {}});
}

std::vector<std::string> VirtualBus::enumerate() {
    std::vector<std::string> paths;
    DIR* dir = ::opendir(folder_.c_str());
    if (!dir) return paths;
    while (const dirent* entry = ::readdir(dir)) {
        if (!isDeviceName(entry->d_name)) continue;
        std::string path = folder_ + "/" + entry->d_name;
        if (isSocket(path)) paths.push_back(std::move(path));
    }
    ::closedir(dir);
    std::sort(paths.begin(), paths.end());
    return paths;
}

std::unique_ptr<DeviceLink> VirtualBus::open(const std::string& path) {
    UniqueFd socket = connectTo(path);
    if (!socket.valid()) return nullptr;
    const auto packet = receiveFirstPacket(socket.get(), kDescriptionTimeout);
    if (!packet) return nullptr;
    const auto description = decodeDeviceDescription(*packet);
    if (!description) return nullptr;
    auto caps = parseReportDescriptor(description->reportDescriptor);
    if (!caps) return nullptr;
    DeviceIdentity identity{path, description->vendorId, description->productId, description->version,
                            std::move(*caps)};
    return std::make_unique<VirtualLink>(std::move(socket), std::move(identity));
}

}  // namespace tarnlink
