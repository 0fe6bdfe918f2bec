// The controller link's exchange against the virtual controller in its USB-like timing mode (one report
// per millisecond frame each way).
//
// BM_DeviceRoundTrip is the baseline, measured in the same run: a command written straight through the
// library and its reply awaited with no wait of the link's own. SetData writes, waits the mandated 3 ms,
// then awaits the reply, which the device sends during that wait: the floor of one SetData is the longer
// of the 3 ms and that round trip, not their sum. BM_SetData sends a plain command (the status query)
// through SetData and reports the median wall time per command, its ratio to the floor (target: at most
// 1.05) and the calling thread's CPU time per command (target: under 0.5 ms). BM_CommandWithStepDelay
// does the same for a command of the command set, whose floor adds the 1 ms step delay. The commands
// each iteration wrote are taken at the device library's write and the floor is counted from them
// (bench::FloorOf), so a retry or an extra command would show in the floor's counts, not hide in the ratio.
#include "CUSBDriver.h"
#include "VirtualControllerBench.h"

#include <benchmark/benchmark.h>

#include <time.h>

#include <array>
#include <chrono>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double ThreadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

enum class Waits { SetDataOnly, CommandSet };

// Times each iteration's `command` and sets the counters against the floor of what it wrote. SetData
// alone takes none of the command set's waits; a command of the set takes those FloorOf counts.
template <typename Command>
void MeasureCommands(benchmark::State& state, const config::CUSBDriver& link, Waits waits, Command command) {
    std::vector<double> wallMs;
    std::vector<double> floorMs;
    std::vector<double> ratios;
    wallMs.reserve(1000);
    floorMs.reserve(1000);
    ratios.reserve(1000);
    int failures = 0;
    bench::ExchangeFloor floor;
    const double stepDelayMs = link.StepDelayMilliseconds();
    const double cpuStart = ThreadCpuMs();
    for (auto _ : state) {
        bench::ClearTrace();
        const auto start = Clock::now();
        failures += command();
        const double wall = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        floor = bench::FloorOf(bench::TakeTrace());
        if (waits == Waits::SetDataOnly) {
            bench::ExchangeFloor exchangesOnly;
            exchangesOnly.commands = floor.commands;
            floor = exchangesOnly;
        }
        const double floorOfRun = floor.Milliseconds(bench::DeviceRoundTripMs(), stepDelayMs);
        wallMs.push_back(wall);
        floorMs.push_back(floorOfRun);
        ratios.push_back(wall / floorOfRun);
    }
    const double cpuPerCommand = (ThreadCpuMs() - cpuStart) / static_cast<double>(wallMs.size());
    if (failures != 0) {
        state.SkipWithError("a command failed");
        return;
    }
    state.counters["commands"] = static_cast<double>(floor.commands);
    state.counters["step_delays"] = static_cast<double>(floor.stepDelays);
    state.counters["median_ms"] = bench::Median(wallMs);
    state.counters["floor_ms"] = bench::Median(floorMs);
    state.counters["ratio_to_floor"] = bench::Median(ratios);
    state.counters["cpu_ms_per_cmd"] = cpuPerCommand;
}

void BM_SetData(benchmark::State& state) {
    config::CUSBDriver link(bench::TracedApi());
    if (!link.OpenDevice()) {
        state.SkipWithError("the link did not open");
        return;
    }
    MeasureCommands(state, link, Waits::SetDataOnly, [&] {
        config::CommandReport command = config::MakeCommand(0x40, 0x63);
        return link.SetData(command);
    });
}

void BM_CommandWithStepDelay(benchmark::State& state) {
    config::CUSBDriver link(bench::TracedApi());
    if (!link.OpenDevice()) {
        state.SkipWithError("the link did not open");
        return;
    }
    MeasureCommands(state, link, Waits::CommandSet, [&] {
        std::array<std::uint8_t, 20> status{};
        return link.GetStatus(status);
    });
}

BENCHMARK(bench::BM_DeviceRoundTrip)->Iterations(500)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SetData)->Iterations(500)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CommandWithStepDelay)->Iterations(300)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return bench::RunWithVirtualController(argc, argv, "bench_link"); }
