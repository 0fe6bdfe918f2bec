// The controller link's exchange against the virtual controller in its USB-like timing mode (one report
// per millisecond frame each way).
//
// BM_DeviceRoundTrip is the baseline, measured in the same run: a command written straight through the
// library and its reply awaited with no wait of the link's own. The floor of one SetData is the
// mandated 3 ms wait plus that device time. BM_SetData sends a plain command (the status query) through
// SetData and reports the median wall time per command, its ratio to the floor (target: at most 1.15)
// and the calling thread's CPU time per command (target: under 0.5 ms). BM_CommandWithStepDelay does the
// same for a command of the command set, which adds the 1 ms step delay.
#include "CUSBDriver.h"
#include "VirtualControllerBench.h"
#include "tarnlink/tarnlink.h"

#include <benchmark/benchmark.h>

#include <time.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::int32_t kBaselineSlot = 2;
constexpr double kMandatedWaitMs = 3.0;
constexpr double kStepDelayMs = 1.0;

double g_deviceMedianMs = 0;  // set by the baseline, which runs first

double ThreadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2), values.end());
    return values[values.size() / 2];
}

// Times each iteration's `command` and sets the counters against the given floor.
template <typename Command>
void MeasureCommands(benchmark::State& state, double floorMs, Command command) {
    std::vector<double> wallMs;
    wallMs.reserve(1000);
    int failures = 0;
    const double cpuStart = ThreadCpuMs();
    for (auto _ : state) {
        const auto start = Clock::now();
        failures += command();
        wallMs.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    const double cpuPerCommand = (ThreadCpuMs() - cpuStart) / static_cast<double>(wallMs.size());
    if (failures != 0) {
        state.SkipWithError("a command failed");
        return;
    }
    const double median = Median(wallMs);
    state.counters["median_ms"] = median;
    state.counters["floor_ms"] = floorMs;
    state.counters["ratio_to_floor"] = median / floorMs;
    state.counters["cpu_ms_per_cmd"] = cpuPerCommand;
}

// The baseline: the status query through the library alone, the reply awaited on an atomic.
std::atomic<std::uint32_t> g_baselineReplies{0};
void OnBaselineReport(std::int32_t, const std::uint8_t* report, std::int32_t length) {
    if (length == 65 && report[1] == 0x40 && report[2] == 0x63) {
        g_baselineReplies.fetch_add(1, std::memory_order_release);
        g_baselineReplies.notify_one();
    }
}

void BM_DeviceRoundTrip(benchmark::State& state) {
    TarnDeviceFilter filter{};
    filter.vendorId = config::CUSBDriver::kVendorId;
    filter.productId = config::CUSBDriver::kProductId;
    filter.pairCount = 1;
    filter.pairs[0] = {1, 0xFF00};
    bench::Session().api.setFilter(&filter, kBaselineSlot);
    bench::Session().api.setReportCallback(&OnBaselineReport, kBaselineSlot);
    const std::int32_t next = bench::Session().api.open(nullptr, nullptr, 1282, kBaselineSlot);
    if (next < 2) {
        state.SkipWithError("the virtual controller is not on the bus");
        return;
    }
    std::uint8_t command[64] = {0x40, 0x63};
    std::vector<double> wallMs;
    for (auto _ : state) {
        const std::uint32_t before = g_baselineReplies.load(std::memory_order_acquire);
        const auto start = Clock::now();
        bench::Session().api.write(1, command, 64, kBaselineSlot);
        std::uint32_t now = before;
        while (now == before) {
            g_baselineReplies.wait(now, std::memory_order_acquire);
            now = g_baselineReplies.load(std::memory_order_acquire);
        }
        wallMs.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    bench::Session().api.close(kBaselineSlot);
    g_deviceMedianMs = Median(wallMs);
    state.counters["median_ms"] = g_deviceMedianMs;
}

void BM_SetData(benchmark::State& state) {
    config::CUSBDriver link(bench::Session().api);
    if (!link.OpenDevice()) {
        state.SkipWithError("the link did not open");
        return;
    }
    MeasureCommands(state, kMandatedWaitMs + g_deviceMedianMs, [&] {
        config::CommandReport command = config::MakeCommand(0x40, 0x63);
        return link.SetData(command);
    });
}

void BM_CommandWithStepDelay(benchmark::State& state) {
    config::CUSBDriver link(bench::Session().api);
    if (!link.OpenDevice()) {
        state.SkipWithError("the link did not open");
        return;
    }
    MeasureCommands(state, kMandatedWaitMs + g_deviceMedianMs + kStepDelayMs, [&] {
        std::array<std::uint8_t, 20> status{};
        return link.GetStatus(status);
    });
}

BENCHMARK(BM_DeviceRoundTrip)->Iterations(500)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SetData)->Iterations(500)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CommandWithStepDelay)->Iterations(300)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return bench::RunWithVirtualController(argc, argv, "bench_link"); }
