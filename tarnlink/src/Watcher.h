// A slot's watcher thread: waits in poll on its buses (hot-plug, power) and on a wake-up eventfd that
// carries "device gone" reports of the readers and the stop request. No polling loop: idle means asleep.
#pragma once

#include "Bus.h"
#include "UniqueFd.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace tarnlink {

class WatcherClient {
public:
    virtual ~WatcherClient() = default;
    virtual void onArrival(Bus& bus, const std::string& path) = 0;
    virtual void onRemoval(const std::string& path) = 0;
    virtual void onGone(std::uint64_t deviceSerial) = 0;
    virtual void onSuspend() = 0;
    virtual void onResume() = 0;
};

class Watcher {
public:
    // Null when the thread or its eventfd cannot be created.
    static std::unique_ptr<Watcher> start(WatcherClient& client, std::vector<std::unique_ptr<Bus>> buses);
    ~Watcher();
    Watcher(const Watcher&) = delete;
    Watcher& operator=(const Watcher&) = delete;

    // Ends the thread; waits for a handler that is running.
    void stop();
    // From a reader thread: hands the device's removal to the watcher thread.
    void deviceGone(std::uint64_t deviceSerial);
    const std::vector<std::unique_ptr<Bus>>& buses() const { return buses_; }

private:
    Watcher(WatcherClient& client, std::vector<std::unique_ptr<Bus>> buses, UniqueFd wake)
        : client_(client), buses_(std::move(buses)), wake_(std::move(wake)) {}
    void run();
    void wake();
    void drainGone();

    WatcherClient& client_;
    std::vector<std::unique_ptr<Bus>> buses_;
    UniqueFd wake_;
    std::atomic<bool> stopping_{false};
    std::mutex goneLock_;
    std::vector<std::uint64_t> gone_;
    std::thread thread_;
};

}  // namespace tarnlink
