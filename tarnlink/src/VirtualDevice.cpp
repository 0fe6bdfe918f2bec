#include "tarnlink/VirtualDevice.h"

#include "UniqueFd.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

namespace tarnlink {

class VirtualDevice::Impl {
public:
    Impl(std::string path, UniqueFd listener, UniqueFd stop, std::vector<std::uint8_t> description,
         ReportHandler onReport)
        : path_(std::move(path)), listener_(std::move(listener)), stop_(std::move(stop)),
          description_(std::move(description)), onReport_(std::move(onReport)) {}

    void start(VirtualDevice& owner) { thread_ = std::thread([this, &owner] { run(owner); }); }

    // Runs before the owner goes away: the thread may still call the handler with the owner.
    void shutdown() {
        ::unlink(path_.c_str());
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t w = ::write(stop_.get(), &one, sizeof one);
        if (thread_.joinable()) thread_.join();
    }

    bool send(std::span<const std::uint8_t> report) {
        std::lock_guard lock(mutex_);
        bool any = false;
        for (const auto& host : hosts_)
            any |= ::send(host.get(), report.data(), report.size(), MSG_DONTWAIT | MSG_NOSIGNAL) ==
                   static_cast<ssize_t>(report.size());
        return any;
    }

    std::size_t hostCount() const {
        std::lock_guard lock(mutex_);
        return hosts_.size();
    }

    const std::string& path() const { return path_; }

private:
    void run(VirtualDevice& owner) {
        std::vector<std::uint8_t> packet(kMaxPacketBytes);
        for (;;) {
            std::vector<pollfd> fds{{stop_.get(), POLLIN, 0}, {listener_.get(), POLLIN, 0}};
            {
                std::lock_guard lock(mutex_);
                for (const auto& host : hosts_) fds.push_back({host.get(), POLLIN, 0});
            }
            if (::poll(fds.data(), fds.size(), -1) < 0) {
                if (errno == EINTR) continue;
                return;
            }
            if (fds[0].revents) return;
            if (fds[1].revents & POLLIN) accept();
            for (std::size_t i = 2; i < fds.size(); ++i) {
                if (!fds[i].revents) continue;
                const ssize_t n = ::recv(fds[i].fd, packet.data(), packet.size(), MSG_DONTWAIT);
                if (n > 0) {
                    if (onReport_) onReport_(owner, std::span(packet.data(), static_cast<std::size_t>(n)));
                } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
                    drop(fds[i].fd);
                }
            }
        }
    }

    void accept() {
        UniqueFd host(::accept4(listener_.get(), nullptr, nullptr, SOCK_CLOEXEC));
        if (!host.valid()) return;
        // Listed before the description goes out: a host that has read the description can be sent to.
        std::lock_guard lock(mutex_);
        if (::send(host.get(), description_.data(), description_.size(), MSG_NOSIGNAL) < 0) return;
        hosts_.push_back(std::move(host));
    }

    void drop(int fd) {
        std::lock_guard lock(mutex_);
        std::erase_if(hosts_, [fd](const UniqueFd& host) { return host.get() == fd; });
    }

    std::string path_;
    UniqueFd listener_;
    UniqueFd stop_;
    std::vector<std::uint8_t> description_;
    ReportHandler onReport_;
    mutable std::mutex mutex_;
    std::vector<UniqueFd> hosts_;
    std::thread thread_;
};

namespace {

bool fillAddress(sockaddr_un& address, const std::string& path) {
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof(address.sun_path)) return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

}  // namespace

std::unique_ptr<VirtualDevice> VirtualDevice::publish(const std::string& busFolder, const std::string& name,
                                                      const DeviceDescription& description,
                                                      ReportHandler onReport) {
    const std::string path = busFolder + "/" + name;
    // Bind under a dotted name and rename once listening, so a host that sees the name can connect.
    const std::string temporary = busFolder + "/." + name + ".binding";
    sockaddr_un address{};
    if (name.empty() || name[0] == '.' || !fillAddress(address, temporary)) return nullptr;
    UniqueFd listener(::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0));
    UniqueFd stop(::eventfd(0, EFD_CLOEXEC));
    if (!listener.valid() || !stop.valid()) return nullptr;
    ::unlink(temporary.c_str());
    if (::bind(listener.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        return nullptr;
    if (::listen(listener.get(), 16) != 0 || ::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return nullptr;
    }
    auto impl = std::make_unique<Impl>(path, std::move(listener), std::move(stop),
                                       encodeDeviceDescription(description), std::move(onReport));
    Impl& started = *impl;
    std::unique_ptr<VirtualDevice> device(new VirtualDevice(std::move(impl)));
    started.start(*device);
    return device;
}

VirtualDevice::VirtualDevice(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
VirtualDevice::~VirtualDevice() { impl_->shutdown(); }

bool VirtualDevice::sendReport(std::span<const std::uint8_t> report) { return impl_->send(report); }
std::size_t VirtualDevice::hostCount() const { return impl_->hostCount(); }
const std::string& VirtualDevice::path() const { return impl_->path(); }

bool raiseVirtualPowerEvent(const std::string& busFolder, bool suspend) {
    // Written under a dotted name and renamed, so a watcher never reads a half-written file.
    const std::string temporary = busFolder + "/." + kPowerFileName + ".writing";
    std::FILE* file = std::fopen(temporary.c_str(), "w");
    if (!file) return false;
    const bool written = std::fputs(suspend ? "suspend\n" : "resume\n", file) >= 0;
    if (std::fclose(file) != 0 || !written) return false;
    return std::rename(temporary.c_str(), (busFolder + "/" + kPowerFileName).c_str()) == 0;
}

}  // namespace tarnlink
