// Devices appear and vanish while another thread writes and the devices answer with input reports.
// Bounded: a fixed number of plug cycles. Run under ThreadSanitizer as part of the test command.
#include "BusFixture.h"

#include <dirent.h>

#include <atomic>
#include <set>

namespace tarnlink::test {
namespace {

std::size_t countEntries(const char* folder) {
    std::size_t n = 0;
    if (DIR* dir = ::opendir(folder)) {
        while (::readdir(dir)) ++n;
        ::closedir(dir);
    }
    return n;
}
std::size_t threadCount() { return countEntries("/proc/self/task"); }
std::size_t fdCount() { return countEntries("/proc/self/fd"); }

using HotPlugStorm = BusFixture;

TEST_F(HotPlugStorm, NumberingAndNoticesStaySoundAndNothingIsLeftBehind) {
    // Warm up once so that threads the runtime starts on first use do not count as leaks.
    plug("warm-up").reset();
    const std::size_t threadsBefore = threadCount();
    const std::size_t fdsBefore = fdCount();

    const auto echo = [](VirtualDevice& device, std::span<const std::uint8_t> report) { device.sendReport(report); };
    ASSERT_EQ(openSlot(), 0);

    std::atomic<bool> done{false};
    std::atomic<int> written{0};
    std::thread writer([&] {
        std::uint8_t data[64] = {};
        while (!done) {
            for (std::int32_t number = 1; number <= 40; ++number) {
                data[0] = static_cast<std::uint8_t>(number);
                written += TarnWrite(number, data, sizeof data, 0);
            }
        }
    });

    constexpr int kCycles = 30;
    std::vector<std::unique_ptr<VirtualDevice>> alive;
    for (int i = 0; i < kCycles; ++i) {
        alive.push_back(plug("device-" + std::to_string(i % 4), description(), echo));
        if (i % 2 == 1 && !alive.empty()) alive.erase(alive.begin());
        if (i == kCycles / 2) {
            ASSERT_TRUE(raiseVirtualPowerEvent(bus_, true));
        } else if (i == kCycles / 2 + 2) {
            ASSERT_TRUE(raiseVirtualPowerEvent(bus_, false));
        }
    }
    // Let traffic flow on the devices that stay.
    ASSERT_TRUE(eventually([&] { return !recorder_.reports().empty(); }));
    alive.clear();
    // Every added device is removed again once every device is gone.
    ASSERT_TRUE(recorder_.waitNotices([](const auto& n) {
        const auto added = std::count_if(n.begin(), n.end(), [](const auto& s) { return s.event == 1; });
        const auto removed = std::count_if(n.begin(), n.end(), [](const auto& s) { return s.event == 0 && s.vendorId; });
        return added > 0 && added == removed;
    }));
    done = true;
    writer.join();
    TarnClose(0);

    // Notices: numbers grow by one from 1 (again from 1 after the suspend), a removal only of a listed device.
    std::set<std::uint16_t> listed;
    std::uint16_t expectedNext = 1;
    int restarts = 0;
    for (const auto& s : recorder_.notices()) {
        if (isNothingPresent(s)) continue;
        if (s.event == TARN_EVENT_ADDED) {
            if (s.deviceNumber != expectedNext) {
                // Only the suspend starts the numbering again, and it leaves no device listed.
                EXPECT_EQ(s.deviceNumber, 1);
                EXPECT_TRUE(listed.empty());
                ++restarts;
            }
            expectedNext = static_cast<std::uint16_t>(s.deviceNumber + 1);
            EXPECT_TRUE(listed.insert(s.deviceNumber).second);
        } else {
            EXPECT_EQ(listed.erase(s.deviceNumber), 1u) << "removed device " << s.deviceNumber;
        }
    }
    EXPECT_TRUE(listed.empty());
    EXPECT_LE(restarts, 1);
    for (const auto& r : recorder_.reports()) EXPECT_EQ(r.bytes.size(), 65u);

    EXPECT_TRUE(eventually([&] { return threadCount() <= threadsBefore; })) << threadCount() << " threads";
    EXPECT_EQ(fdCount(), fdsBefore);
}

}  // namespace
}  // namespace tarnlink::test
