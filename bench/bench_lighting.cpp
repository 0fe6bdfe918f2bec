// A profile's lighting through the controller link against the virtual controller in its USB-like
// timing mode (one report per millisecond frame each way), as the apply button and the arrival read
// run it.
//
// BM_FullApply: SelectProfile, WriteProfileLighting, StoreSettings. BM_FullRead: ReadProfileLighting of
// the profile the controller reports. Each reports the median wall time per sequence against the floor
// of what that sequence must wait (target: at most 1.05). The floor is counted from the commands the
// iteration really wrote, taken at the device library's write (bench::FloorOf): per command the 3 ms
// wait after the write, or the device's round trip if that is longer (BM_DeviceRoundTrip, measured
// first in the same run); the step delay after each command the command set follows with one;
// SelectProfile's sleep of four step delays; and the pause after each of its polls that missed.
#include "CUSBDriver.h"
#include "LightingTransfer.h"
#include "VirtualControllerBench.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

template <typename Sequence>
void MeasureSequence(benchmark::State& state, Sequence sequence) {
    config::CUSBDriver link(bench::TracedApi());
    if (!link.OpenDevice() || link.GetDeviceInfo() != 0) {
        state.SkipWithError("the link did not open");
        return;
    }
    config::SettingsBlock block{};
    block.profiles[0].Reset();
    block.profiles[0].lighting.multiLayer.SetLayerType(0, 3);  // a multi-layer map that sends parameters
    block.profiles[0].lighting.multiLayer.SetLayerType(1, 1);
    config::CLightingTransfer transfer(link, block);
    const double stepDelayMs = link.StepDelayMilliseconds();
    std::vector<double> wallMs;
    std::vector<double> floorMs;
    std::vector<double> ratios;
    bench::ExchangeFloor floor;
    for (auto _ : state) {
        bench::ClearTrace();
        const auto start = Clock::now();
        sequence(link, transfer);
        const double wall = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        floor = bench::FloorOf(bench::TakeTrace());
        const double floorOfRun = floor.Milliseconds(bench::DeviceRoundTripMs(), stepDelayMs);
        wallMs.push_back(wall);
        floorMs.push_back(floorOfRun);
        ratios.push_back(wall / floorOfRun);
    }
    bench::SetFloorCounters(state, floor, wallMs, floorMs, ratios);
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

BENCHMARK(bench::BM_DeviceRoundTrip)->Iterations(300)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FullApply)->Iterations(15)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FullRead)->Iterations(15)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return bench::RunWithVirtualController(argc, argv, "bench_lighting"); }
