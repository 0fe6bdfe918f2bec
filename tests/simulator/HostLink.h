// Test support: a host that talks to virtual controllers through libtarnlink exactly as the programs
// do (filter, report callback, TarnWrite), and waits for replies and bus notices with generous
// deadlines. Each test gets its own bus folder.
#pragma once

#include "simulator/Report.h"
#include "simulator/VirtualController.h"
#include "tarnlink/tarnlink.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <optional>
#include <vector>

namespace simulator::test {

inline constexpr auto kDeadline = std::chrono::seconds(20);
// Long enough to be sure that no reply is coming, short enough to keep the tests quick.
inline constexpr auto kQuietTime = std::chrono::milliseconds(300);

inline Report command(std::uint8_t group, std::uint8_t key, std::uint16_t index = 0,
                      std::initializer_list<std::uint8_t> data = {}) {
    Report r{};
    r[0] = group;
    r[1] = key;
    r[2] = static_cast<std::uint8_t>(index);
    r[3] = static_cast<std::uint8_t>(index >> 8);
    std::copy(data.begin(), data.end(), r.begin() + kDataAt);
    return r;
}

inline std::uint32_t le32(const Report& r, std::size_t at) {
    return r[at] | (r[at + 1] << 8) | (r[at + 2] << 16) | (std::uint32_t{r[at + 3]} << 24);
}

inline Report withLe32(Report r, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) r[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
    return r;
}

// One tarnlink slot watching one product id.
class HostLink {
public:
    HostLink(int slot, std::uint16_t productId) : slot_(slot) {
        links()[slot] = this;
        TarnDeviceFilter filter{};
        filter.vendorId = kVendorId;
        filter.productId = productId;
        filter.pairCount = 1;
        filter.pairs[0] = {kUsage, kUsagePage};
        TarnSetFilter(&filter, slot);
        TarnSetReportCallback(kCallbacks[slot], slot);
        TarnOpen(&HostLink::onNotice, this, 1282, slot);
    }
    ~HostLink() {
        TarnClose(slot_);
        links()[slot_] = nullptr;
    }

    // The device numbers of the devices present now.
    std::vector<std::uint16_t> devices() const {
        std::lock_guard lock(mutex_);
        return present_;
    }
    bool waitPresent(bool present) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, kDeadline, [&] { return present_.empty() != present; });
    }
    bool waitCounts(std::size_t arrivals, std::size_t removals) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, kDeadline, [&] {
            return arrivals_ >= arrivals && removals_ >= removals && !present_.empty();
        });
    }
    std::size_t arrivals() const {
        std::lock_guard lock(mutex_);
        return arrivals_;
    }
    std::size_t removals() const {
        std::lock_guard lock(mutex_);
        return removals_;
    }

    bool write(const Report& report) {
        const auto list = devices();
        if (list.empty()) return false;
        return TarnWrite(list.front(), report.data(), static_cast<std::int32_t>(report.size()), slot_) != 0;
    }

    // Every input report received so far (data bytes, without the report id).
    std::vector<Report> received() const {
        std::lock_guard lock(mutex_);
        return reports_;
    }

    // Writes the command and waits for its reply: the echo of bytes 0-3, an error reply naming the
    // command, or for a write command the 0x1E 0x02 answer.
    std::optional<Report> exchange(const Report& cmd, std::chrono::milliseconds wait = kDeadline) {
        std::size_t seen;
        {
            std::lock_guard lock(mutex_);
            seen = reports_.size();
        }
        if (!write(cmd)) return std::nullopt;
        std::unique_lock lock(mutex_);
        std::optional<Report> found;
        changed_.wait_for(lock, wait, [&] {
            for (; seen < reports_.size(); ++seen) {
                const Report& r = reports_[seen];
                const bool echo = std::equal(r.begin(), r.begin() + 4, cmd.begin());
                const bool error = r[0] == 0xFF && r[1] == 0xAA && r[2] == cmd[0] && r[3] == cmd[1];
                const bool writeAnswer = cmd[0] == 0x1F && r[0] == 0x1E && r[1] == 0x02;
                if (echo || error || writeAnswer) {
                    found = r;
                    return true;
                }
            }
            return false;
        });
        return found;
    }

    // Exchanges and expects a proper (non-error) reply.
    Report ask(const Report& cmd) {
        auto reply = exchange(cmd);
        EXPECT_TRUE(reply) << "no reply to " << int(cmd[0]) << "." << int(cmd[1]);
        EXPECT_FALSE(reply && isErrorReply(*reply)) << "error reply to " << int(cmd[0]) << "." << int(cmd[1]);
        return reply.value_or(Report{});
    }

    bool waitReport(const std::function<bool(const Report&)>& pred) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, kDeadline, [&] { return std::any_of(reports_.begin(), reports_.end(), pred); });
    }

private:
    static HostLink** links() {
        static HostLink* table[TARN_SLOT_COUNT] = {};
        return table;
    }
    template <int Slot>
    static void onReport(std::int32_t, const std::uint8_t* bytes, std::int32_t length) {
        HostLink* self = links()[Slot];
        if (!self || length != 65) return;
        Report r;
        std::copy(bytes + 1, bytes + 65, r.begin());
        std::lock_guard lock(self->mutex_);
        self->reports_.push_back(r);
        self->changed_.notify_all();
    }
    static constexpr TarnReportCallback kCallbacks[TARN_SLOT_COUNT] = {onReport<0>, onReport<1>, onReport<2>,
                                                                      onReport<3>, onReport<4>};

    static void onNotice(void* context, std::uint32_t, std::uintptr_t, const _DEVICE_STATE* s) {
        auto* self = static_cast<HostLink*>(context);
        std::lock_guard lock(self->mutex_);
        if (s->event == TARN_EVENT_ADDED) {
            self->present_.push_back(s->deviceNumber);
            ++self->arrivals_;
        } else if (s->vendorId != 0) {
            std::erase(self->present_, s->deviceNumber);
            ++self->removals_;
        }
        self->changed_.notify_all();
    }

    int slot_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::uint16_t> present_;
    std::vector<Report> reports_;
    std::size_t arrivals_ = 0;
    std::size_t removals_ = 0;
};

// A private bus folder and state folder per test.
class BusTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/vctrl-test-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        root_ = pattern;
        folder_ = root_ + "/bus";
        std::filesystem::create_directory(folder_);
        ::setenv("TARNLINK_BUS", folder_.c_str(), 1);
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }

    ControllerOptions options() const {
        ControllerOptions o;
        o.busFolder = folder_;
        o.name = "ctrl";
        o.stateFile = root_ + "/controller.state";
        o.replugDelay = std::chrono::milliseconds(50);
        return o;
    }

    std::unique_ptr<VirtualController> startController(ControllerOptions o) {
        auto started = VirtualController::start(std::move(o));
        EXPECT_TRUE(started.controller) << started.error;
        return std::move(started.controller);
    }

    std::string root_;
    std::string folder_;  // the bus folder
};

}  // namespace simulator::test
