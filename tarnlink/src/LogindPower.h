// Suspend and resume from systemd-logind's PrepareForSleep signal on the system bus.
#pragma once

#include "Bus.h"

#include <memory>

struct sd_bus;
struct sd_bus_slot;

namespace tarnlink {

class LogindPower final : public Bus {
public:
    // Null when no system bus is reachable: the slot then gets no power events, which is not an error.
    static std::unique_ptr<LogindPower> watch();
    ~LogindPower() override;

    int watchFd() const override;
    short watchEvents() const override;
    int watchTimeoutMs() const override;
    void readEvents(std::vector<BusEvent>& events) override;

private:
    explicit LogindPower(sd_bus* bus) : bus_(bus) {}
    sd_bus* bus_;
    sd_bus_slot* match_ = nullptr;
    std::vector<BusEvent>* pending_ = nullptr;
    bool broken_ = false;
};

}  // namespace tarnlink
