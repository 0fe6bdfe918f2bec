// libtarnlink on the virtual bus: round trip of a 64-byte report to an echoing device and back through
// the report callback (median and 99th percentile), against a bare SOCK_SEQPACKET ping-pong between two
// threads as the baseline; and the CPU one open slot with one idle device uses.
#include "tarnlink/VirtualDevice.h"
#include "tarnlink/tarnlink.h"

#include <benchmark/benchmark.h>
#include <sys/socket.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

// Vendor page 0xFF00, usage 1, 64 bytes in and out, no report ids: the controller's kind of device.
const std::vector<std::uint8_t> kDescriptor = {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x15, 0x00,
                                               0x26, 0xFF, 0x00, 0x75, 0x08, 0x95, 0x40, 0x09, 0x01,
                                               0x81, 0x02, 0x09, 0x01, 0x91, 0x02, 0xC0};
constexpr std::uint16_t kVendor = 0xF00D, kProduct = 0x0B0B;

std::atomic<std::uint32_t> g_replies{0};
void onReport(std::int32_t, const std::uint8_t*, std::int32_t) {
    g_replies.fetch_add(1, std::memory_order_release);
    g_replies.notify_one();
}

// A private bus folder with one device and slot 0 open on it; torn down in reverse.
class OpenSlot {
public:
    explicit OpenSlot(tarnlink::VirtualDevice::ReportHandler handler) {
        char pattern[] = "/tmp/tarnlink-bench-XXXXXX";
        folder_ = ::mkdtemp(pattern);
        ::setenv("TARNLINK_BUS", folder_.c_str(), 1);
        device_ = tarnlink::VirtualDevice::publish(folder_, "controller", {kVendor, kProduct, 1, kDescriptor},
                                                   std::move(handler));
        TarnDeviceFilter filter{};
        filter.vendorId = kVendor;
        filter.productId = kProduct;
        filter.pairCount = 1;
        filter.pairs[0] = {1, 0xFF00};
        TarnSetFilter(&filter, 0);
        TarnSetReportCallback(onReport, 0);
        opened_ = TarnOpen(nullptr, nullptr, 1282, 0) == 2;
    }
    ~OpenSlot() {
        TarnClose(0);
        device_.reset();
        std::filesystem::remove_all(folder_);
    }
    bool ok() const { return device_ && opened_; }

private:
    std::string folder_;
    std::unique_ptr<tarnlink::VirtualDevice> device_;
    bool opened_ = false;
};

void reportPercentiles(benchmark::State& state, std::vector<double>& micros) {
    if (micros.empty()) return;
    std::sort(micros.begin(), micros.end());
    state.counters["median_us"] = micros[micros.size() / 2];
    state.counters["p99_us"] = micros[micros.size() * 99 / 100];
}

void BM_SlotRoundTrip(benchmark::State& state) {
    OpenSlot slot([](tarnlink::VirtualDevice& d, std::span<const std::uint8_t> r) { d.sendReport(r); });
    if (!slot.ok()) {
        state.SkipWithError("slot did not open");
        return;
    }
    std::uint8_t data[64] = {0x42, 0x20};
    std::vector<double> micros;
    micros.reserve(static_cast<std::size_t>(state.max_iterations));
    for (auto _ : state) {
        const std::uint32_t before = g_replies.load(std::memory_order_acquire);
        const auto start = std::chrono::steady_clock::now();
        if (!TarnWrite(1, data, sizeof data, 0)) {
            state.SkipWithError("write failed");
            break;
        }
        g_replies.wait(before, std::memory_order_acquire);  // futex wait: no spinning, no sleeping
        micros.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
    }
    reportPercentiles(state, micros);
}
BENCHMARK(BM_SlotRoundTrip)->Iterations(20000)->UseRealTime()->Unit(benchmark::kMicrosecond);

// Baseline: the same 64 bytes over a socket pair to an echoing thread and back, no library.
void BM_BareSocketRoundTrip(benchmark::State& state) {
    int pair[2];
    if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, pair) != 0) {
        state.SkipWithError("socketpair");
        return;
    }
    std::thread echo([fd = pair[1]] {
        std::uint8_t buffer[128];
        for (;;) {
            const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
            if (n <= 0 || ::send(fd, buffer, static_cast<std::size_t>(n), MSG_NOSIGNAL) != n) return;
        }
    });
    std::uint8_t data[64] = {}, reply[128];
    std::vector<double> micros;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (::send(pair[0], data, sizeof data, 0) != 64 || ::recv(pair[0], reply, sizeof reply, 0) != 64) break;
        micros.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
    }
    ::shutdown(pair[0], SHUT_RDWR);
    echo.join();
    ::close(pair[0]);
    ::close(pair[1]);
    reportPercentiles(state, micros);
}
BENCHMARK(BM_BareSocketRoundTrip)->Iterations(20000)->UseRealTime()->Unit(benchmark::kMicrosecond);

double processCpuSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Context switches of every thread but the main one: each wake-up of the slot's watcher, the device's
// reader or the device's own thread counts one.
long otherThreadsWakeups() {
    long total = 0;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
        if (task.path().filename() == std::to_string(::getpid())) continue;
        std::ifstream status(task.path() / "status");
        std::string line;
        while (std::getline(status, line))
            if (line.starts_with("voluntary_ctxt_switches:") || line.starts_with("nonvoluntary_ctxt_switches:"))
                total += std::stol(line.substr(line.find(':') + 1));
    }
    return total;
}

// CPU of the whole process (the slot's watcher, the device's reader and the idle device itself) while
// nothing happens for a few seconds of wall time.
void BM_IdleSlotCpu(benchmark::State& state) {
    OpenSlot slot({});
    if (!slot.ok()) {
        state.SkipWithError("slot did not open");
        return;
    }
    constexpr auto kIdle = std::chrono::seconds(3);
    double cpu = 0;
    long wakeups = 0;
    for (auto _ : state) {
        const long wakeupsBefore = otherThreadsWakeups();
        const double before = processCpuSeconds();
        std::this_thread::sleep_for(kIdle);  // the measurement window itself, not a synchronisation
        cpu = processCpuSeconds() - before;
        wakeups = otherThreadsWakeups() - wakeupsBefore;
    }
    state.counters["cpu_ms"] = cpu * 1e3;
    state.counters["thread_wakeups"] = static_cast<double>(wakeups);
    state.counters["cpu_percent"] = cpu / std::chrono::duration<double>(kIdle).count() * 100;
}
BENCHMARK(BM_IdleSlotCpu)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
