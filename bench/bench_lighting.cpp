// A profile's lighting through the controller link against the virtual controller in its USB-like
// timing mode (one report per millisecond frame each way), as the apply button and the arrival read
// run it.
//
// BM_FullApply: SelectProfile, WriteProfileLighting, StoreSettings. BM_FullRead: ReadProfileLighting of
// the profile the controller reports. Each reports the commands per sequence (counted by the
// controller), the median wall time per sequence, the floor of commands x 3 ms (the link's mandated
// wait after each write) and the ratio of the two (target: at most 1.2).
#include "CUSBDriver.h"
#include "LightingTransfer.h"
#include "VirtualControllerBench.h"
#include "tarnlink/tarnlink.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr double kMandatedWaitMs = 3.0;


std::uint64_t CommandsHandled() {
    std::uint64_t handled = 0;
    bench::Session().controller->inspect([&](const simulator::ControllerState& s, bool) { handled = s.commandsHandled; });
    return handled;
}

double Median(std::vector<double> values) {
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2), values.end());
    return values[values.size() / 2];
}

template <typename Sequence>
void MeasureSequence(benchmark::State& state, Sequence sequence) {
    config::CUSBDriver link(bench::Session().api);
    if (!link.OpenDevice() || link.GetDeviceInfo() != 0) {
        state.SkipWithError("the link did not open");
        return;
    }
    config::SettingsBlock block{};
    block.profiles[0].Reset();
    block.profiles[0].lighting.multiLayer.SetLayerType(0, 3);  // a multi-layer map that sends parameters
    block.profiles[0].lighting.multiLayer.SetLayerType(1, 1);
    config::CLightingTransfer transfer(link, block);
    std::vector<double> wallMs;
    std::uint64_t commands = 0;
    for (auto _ : state) {
        const std::uint64_t before = CommandsHandled();
        const auto start = Clock::now();
        sequence(link, transfer);
        wallMs.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        commands = CommandsHandled() - before;
    }
    const double median = Median(wallMs);
    const double floorMs = static_cast<double>(commands) * kMandatedWaitMs;
    state.counters["commands"] = static_cast<double>(commands);
    state.counters["median_ms"] = median;
    state.counters["floor_ms"] = floorMs;
    state.counters["ratio_to_floor"] = median / floorMs;
}

void BM_FullApply(benchmark::State& state) {
    MeasureSequence(state, [](config::CUSBDriver& link, config::CLightingTransfer& transfer) {
        link.SelectProfile(0);
        transfer.WriteProfileLighting(0, 10, 80);
        link.StoreSettings();
    });
}

void BM_FullRead(benchmark::State& state) {
    MeasureSequence(state, [](config::CUSBDriver&, config::CLightingTransfer& transfer) {
        transfer.ReadProfileLighting(-1);
    });
}

BENCHMARK(BM_FullApply)->Iterations(15)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FullRead)->Iterations(15)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return bench::RunWithVirtualController(argc, argv, "bench_lighting"); }
