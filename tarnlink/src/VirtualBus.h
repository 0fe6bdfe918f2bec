// Host side of the virtual bus: devices are SOCK_SEQPACKET sockets in the bus folder.
#pragma once

#include "Bus.h"
#include "UniqueFd.h"

#include <chrono>
#include <memory>
#include <string>

namespace tarnlink {

class VirtualBus final : public Bus {
public:
    // Null when the folder does not exist or cannot be watched: the virtual bus is then inactive.
    static std::unique_ptr<VirtualBus> watch(const std::string& folder);

    int watchFd() const override { return inotify_.get(); }
    void readEvents(std::vector<BusEvent>& events) override;
    std::vector<std::string> enumerate() override;
    std::unique_ptr<DeviceLink> open(const std::string& path) override;

    // How long open() waits for a device's description before it skips the device.
    static constexpr std::chrono::milliseconds kDescriptionTimeout{2000};

private:
    VirtualBus(std::string folder, UniqueFd inotify) : folder_(std::move(folder)), inotify_(std::move(inotify)) {}
    void readPowerFile(std::vector<BusEvent>& events) const;

    std::string folder_;
    UniqueFd inotify_;
};

}  // namespace tarnlink
