#include "LogindPower.h"

#include <systemd/sd-bus.h>

#include <ctime>
#include <limits>

namespace tarnlink {

std::unique_ptr<LogindPower> LogindPower::watch() {
    sd_bus* bus = nullptr;
    if (sd_bus_open_system(&bus) < 0) return nullptr;
    std::unique_ptr<LogindPower> power(new LogindPower(bus));
    // The match is installed asynchronously so that opening a slot never waits on the bus.
    const auto onSignal = [](sd_bus_message* message, void* self, sd_bus_error*) -> int {
        auto* owner = static_cast<LogindPower*>(self);
        int start = 0;
        if (owner->pending_ && sd_bus_message_read(message, "b", &start) >= 0)
            owner->pending_->push_back({start ? BusEvent::Kind::Suspend : BusEvent::Kind::Resume, {}});
        return 0;
    };
    if (sd_bus_match_signal_async(bus, &power->match_, "org.freedesktop.login1", "/org/freedesktop/login1",
                                  "org.freedesktop.login1.Manager", "PrepareForSleep", onSignal, nullptr,
                                  power.get()) < 0)
        return nullptr;
    return power;
}

LogindPower::~LogindPower() {
    sd_bus_slot_unref(match_);
    sd_bus_flush_close_unref(bus_);
}

int LogindPower::watchFd() const { return broken_ ? -1 : sd_bus_get_fd(bus_); }

short LogindPower::watchEvents() const {
    const int events = sd_bus_get_events(bus_);
    return static_cast<short>(events < 0 ? 0 : events);
}

int LogindPower::watchTimeoutMs() const {
    std::uint64_t until = 0;
    if (broken_) return -1;
    if (sd_bus_get_timeout(bus_, &until) <= 0 || until == std::numeric_limits<std::uint64_t>::max()) return -1;
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    const std::uint64_t nowUs = std::uint64_t(now.tv_sec) * 1000000u + std::uint64_t(now.tv_nsec) / 1000u;
    if (until <= nowUs) return 0;
    const std::uint64_t ms = (until - nowUs + 999) / 1000;
    return ms > 60000 ? 60000 : static_cast<int>(ms);
}

void LogindPower::readEvents(std::vector<BusEvent>& events) {
    pending_ = &events;
    int r = 0;
    while ((r = sd_bus_process(bus_, nullptr)) > 0) {
    }
    // A lost connection would otherwise wake the watcher for ever; power events just stop.
    if (r < 0) broken_ = true;
    pending_ = nullptr;
}

}  // namespace tarnlink
