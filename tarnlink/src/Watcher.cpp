#include "Watcher.h"

#include <poll.h>
#include <sys/eventfd.h>

#include <cerrno>
#include <system_error>

namespace tarnlink {

std::unique_ptr<Watcher> Watcher::start(WatcherClient& client, std::vector<std::unique_ptr<Bus>> buses) {
    UniqueFd wake(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
    if (!wake.valid()) return nullptr;
    std::unique_ptr<Watcher> watcher(new Watcher(client, std::move(buses), std::move(wake)));
    try {
        watcher->thread_ = std::thread([w = watcher.get()] { w->run(); });
    } catch (const std::system_error&) {
        return nullptr;
    }
    return watcher;
}

Watcher::~Watcher() { stop(); }

void Watcher::stop() {
    stopping_ = true;
    wake();
    if (thread_.joinable()) thread_.join();
}

void Watcher::wake() {
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t w = ::write(wake_.get(), &one, sizeof one);
}

void Watcher::deviceGone(std::uint64_t deviceSerial) {
    {
        std::lock_guard lock(goneLock_);
        gone_.push_back(deviceSerial);
    }
    wake();
}

void Watcher::drainGone() {
    std::vector<std::uint64_t> gone;
    {
        std::lock_guard lock(goneLock_);
        gone.swap(gone_);
    }
    for (const auto serial : gone) client_.onGone(serial);
}

void Watcher::run() {
    std::vector<BusEvent> events;
    for (;;) {
        std::vector<pollfd> fds{{wake_.get(), POLLIN, 0}};
        int timeout = -1;
        for (const auto& bus : buses_) {
            fds.push_back({bus->watchFd(), bus->watchEvents(), 0});  // poll ignores negative fds
            const int busTimeout = bus->watchTimeoutMs();
            if (busTimeout >= 0 && (timeout < 0 || busTimeout < timeout)) timeout = busTimeout;
        }
        const int ready = ::poll(fds.data(), fds.size(), timeout);
        if (ready < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if (fds[0].revents) {
            std::uint64_t count = 0;
            [[maybe_unused]] const ssize_t r = ::read(wake_.get(), &count, sizeof count);
            if (stopping_) return;
            drainGone();
        }
        for (std::size_t i = 0; i < buses_.size(); ++i) {
            Bus& bus = *buses_[i];
            if (!fds[i + 1].revents && !(ready == 0 && bus.watchTimeoutMs() >= 0)) continue;
            events.clear();
            bus.readEvents(events);
            for (const auto& event : events) {
                if (stopping_) return;
                switch (event.kind) {
                case BusEvent::Kind::Arrival: client_.onArrival(bus, event.path); break;
                case BusEvent::Kind::Removal: client_.onRemoval(event.path); break;
                case BusEvent::Kind::Suspend: client_.onSuspend(); break;
                case BusEvent::Kind::Resume: client_.onResume(); break;
                }
            }
        }
    }
}

}  // namespace tarnlink
