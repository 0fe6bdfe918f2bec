// What the benchmarks of the controller link and the lighting transfer share: one virtual controller in
// USB-like timing on a private bus, the device library bound by ordinal, and a Qt core application for the
// link's messages; a record of the commands a link really writes, and the floor those commands must wait.
#pragma once

#include "TarnlinkApi.h"
#include "simulator/VirtualController.h"

#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace bench {

struct VirtualControllerSession {
    std::string bus;
    config::TarnlinkApi api;
    std::unique_ptr<simulator::VirtualController> controller;
};

// The session the running benchmarks use; filled by RunWithVirtualController.
VirtualControllerSession& Session();

// Sets up the session, runs the registered benchmarks and cleans up; the program's exit code. Uses the
// application object that exists (a benchmark of widgets makes a QApplication), else makes a core one. The
// controller starts in its application firmware in USB-like timing on the private bus; `adjust` may
// change its other options (the bus folder is set when it is called).
int RunWithVirtualController(int argc, char** argv, const char* programName,
                             const std::function<void(simulator::ControllerOptions&)>& adjust = {});

// One command report as the link handed it to the device library, and data byte 0 of its reply.
struct IssuedCommand {
    std::uint8_t command = 0;
    std::uint8_t key = 0;
    std::uint16_t index = 0;
    std::uint8_t data0 = 0;
    bool replied = false;
    std::uint8_t replyData0 = 0;
};

// The session's library operations with the write and the report callback passed through a recorder,
// so a benchmark sees the commands its sequence really issued, not a count it assumes. A link built on
// these records into the trace; recording costs a lock and an append per report.
const config::TarnlinkApi& TracedApi();
void ClearTrace();
std::vector<IssuedCommand> TakeTrace();

// What a run of commands must wait, counted from the commands it issued (see FloorOf).
struct ExchangeFloor {
    std::size_t commands = 0;        // each: the write's wait, or the device's round trip when longer
    std::size_t stepDelays = 0;      // commands the link follows with its step delay
    std::size_t profileSettles = 0;  // SelectProfile's sleep of four step delays after its command
    std::size_t pollPauses = 0;      // SelectProfile's polls that did not see the profile: step delay, 10 ms at least

    double Milliseconds(double deviceRoundTripMs, double stepDelayMs) const;
};

// Classifies each issued command by the command set's rules: which commands the link follows with a
// step delay, SelectProfile's settle sleep, and the pause after each of its polls (GetProfile right
// after it) whose normalised answer was not the profile asked for.
ExchangeFloor FloorOf(std::span<const IssuedCommand> trace);

// Sets a benchmark's counters against its floor: the last run's command counts from `floor`, and the
// medians of the wall times, the floors and the ratios of the runs.
void SetFloorCounters(benchmark::State& state, const ExchangeFloor& floor, const std::vector<double>& wallMs,
                      const std::vector<double>& floorMs, const std::vector<double>& ratios);

// The baseline, to register first: the status query written straight through the library on a slot of
// its own and its reply awaited, with no wait of the link's. DeviceRoundTripMs() is its median.
void BM_DeviceRoundTrip(benchmark::State& state);
double DeviceRoundTripMs();

double Median(std::vector<double> values);

}  // namespace bench
