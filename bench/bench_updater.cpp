// The updater's whole flashing sequence (runFlashSequence with the default pauses) writing a 64 KiB image
// to the virtual controller's boot loader in its USB-like timing mode (one report per millisecond frame
// each way), on a target whose flash holds the version area and the image.
//
// BM_FlashImage reports the median wall time per flash against the floor of what that flash must wait
// (target: at most 1.1) and the process CPU time per write command (target: under 0.3 ms; the virtual
// controller runs in this process, so its thread counts too). The floor is counted from the exchanges
// the sequence really made, taken by a recorder around the boot-loader link (FloorOfFlash): per command
// the link's 3 ms wait after the write, or the device's round trip when the reply is awaited and that is
// longer (BM_DeviceRoundTrip, measured first in the same run); plus the fixed pauses the sequence takes
// after the exchanges that call for them. The virtual controller erases and programs in no time, so no
// command adds a device time of its own. Pauses after failed exchanges are no part of the floor: a retry
// shows in the ratio and in the failed-exchange count.
//
// Before each flash (not timed) the controller is switched from its application firmware into the boot
// loader through the application link; the flashed image is valid, so leaving the boot loader brings
// the application back for the next iteration.
#include "BootLoaderCommands.h"
#include "FlashLink.h"
#include "FlashSequence.h"
#include "VirtualControllerBench.h"

#include "firmware/ApplicationImage.h"
#include "firmware/Bytes.h"
#include "firmware/ControllerRecords.h"
#include "simulator/Report.h"

#include <benchmark/benchmark.h>

#include <time.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <span>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;
using updater::CommandReport;
using updater::ExchangeResult;

constexpr std::size_t kImageBytes = 64 * 1024;
constexpr std::uint8_t kBytesPerWrite = 60;
// 72 pages of 1 KiB: the default target's version area (2 KiB) and a 64 KiB image fit.
constexpr std::uint16_t kPageCount = 72;
constexpr auto kSwitchDeadline = 10s;

// Command groups and keys as the boot-loader commands send them; parameters are 32-bit at bytes 4 and 8.
constexpr std::uint8_t kBootLoaderSwitch = 0x11;
constexpr std::uint8_t kLeaveKey = 0x01;
constexpr std::uint8_t kRecords = 0x12;
constexpr std::uint8_t kFwInfoKey = 0x00;
constexpr std::uint8_t kFlashArea = 0x1D;
constexpr std::uint8_t kEraseKey = 0x00;
constexpr std::uint8_t kChecksumKey = 0x01;
constexpr std::uint8_t kWriteAddress = 0x1E;
constexpr std::uint8_t kSetAddressKey = 0x01;
constexpr std::uint8_t kWriteData = 0x1F;
constexpr std::size_t kSecondParameter = 8;

simulator::TargetConfig LargeTarget() {
    simulator::TargetConfig config = simulator::defaultTargetConfig();
    config.fwInfo.erasePageCount = kPageCount;
    return config;
}

// One exchange as the sequence made it: the command, the reply (or the command again when none came).
struct RecordedExchange {
    CommandReport sent{};
    CommandReport received{};
    bool awaited = false;
    ExchangeResult result = ExchangeResult::NoDevice;

    bool Is(std::uint8_t group, std::uint8_t key) const { return sent[0] == group && sent[1] == key; }
    bool Ok() const { return result == ExchangeResult::Ok; }
};

// Passes every exchange to the link and keeps a record of it; recording costs two report copies and
// an append (the trace's room is kept between runs).
class RecordingChannel final : public updater::CommandChannel {
public:
    explicit RecordingChannel(updater::CommandChannel& link) : link_(link) {}

    ExchangeResult exchange(CommandReport& report, std::chrono::milliseconds wait, bool awaitReply) override {
        RecordedExchange& recorded = trace_.emplace_back();
        recorded.sent = report;
        recorded.awaited = awaitReply;
        recorded.result = link_.exchange(report, wait, awaitReply);
        recorded.received = report;
        return recorded.result;
    }

    void Clear() { trace_.clear(); }
    std::span<const RecordedExchange> Trace() const { return trace_; }

private:
    updater::CommandChannel& link_;
    std::vector<RecordedExchange> trace_;
};

// What one flash must wait, counted from the exchanges it made.
struct FlashFloor {
    std::size_t awaited = 0;     // each: the 3 ms wait, or the device's round trip when longer
    std::size_t unawaited = 0;   // each: the 3 ms wait (leaving the boot loader gets no reply)
    std::size_t writes = 0;
    std::size_t failed = 0;
    std::chrono::milliseconds pauses{0};

    std::size_t Commands() const { return awaited + unawaited; }

    double Milliseconds(double deviceRoundTripMs) const {
        const double writeWaitMs =
            std::chrono::duration<double, std::milli>(updater::FlashLink::kWriteSettleTime).count();
        return static_cast<double>(awaited) * std::max(writeWaitMs, deviceRoundTripMs) +
               static_cast<double>(unawaited) * writeWaitMs + static_cast<double>(pauses.count());
    }
};

// The sequence's fixed pauses follow these exchanges: afterFwInfo the answered FWInfo query; afterErase
// an answered erase of the whole area (the area from that FWInfo; the version area's and the failure's
// erases take none); beforeVersion an answered checksum that the version's write address follows
// (a wrong sum is followed by the next erase instead); afterLeave leaving the boot loader.
FlashFloor FloorOfFlash(std::span<const RecordedExchange> trace, const updater::Pauses& pauses) {
    FlashFloor floor;
    std::uint32_t areaBytes = 0;
    for (std::size_t i = 0; i < trace.size(); ++i) {
        const RecordedExchange& e = trace[i];
        ++(e.awaited ? floor.awaited : floor.unawaited);
        if (e.sent[0] == kWriteData) ++floor.writes;
        if (!e.Ok()) {
            ++floor.failed;
            continue;
        }
        if (e.Is(kRecords, kFwInfoKey)) {
            firmware::Record record{};
            std::copy_n(e.received.begin() + linkexchange::kReportDataOffset, record.size(), record.begin());
            areaBytes = firmware::decodeFwInfo(record).areaBytes();
            floor.pauses += pauses.afterFwInfo;
        } else if (e.Is(kFlashArea, kEraseKey) && firmware::readLe32(e.sent, kSecondParameter) == areaBytes) {
            floor.pauses += pauses.afterErase;
        } else if (e.Is(kFlashArea, kChecksumKey) && i + 1 < trace.size() &&
                   trace[i + 1].Is(kWriteAddress, kSetAddressKey)) {
            floor.pauses += pauses.beforeVersion;
        } else if (e.Is(kBootLoaderSwitch, kLeaveKey)) {
            floor.pauses += pauses.afterLeave;
        }
    }
    return floor;
}

double CpuMs(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

bool WaitUntil(const std::function<bool()>& condition) {
    const auto deadline = Clock::now() + kSwitchDeadline;
    while (!condition()) {
        if (Clock::now() > deadline) return false;
        std::this_thread::sleep_for(2ms);
    }
    return true;
}

bool ControllerIn(simulator::Firmware firmware) {
    return bench::Session().controller->waitFor(
        [&](const simulator::ControllerState& s, bool onBus) { return onBus && s.firmware == firmware; },
        kSwitchDeadline);
}

// Switches the controller from its application firmware into the boot loader, as the updater does
// before it flashes, and waits until the boot-loader link has the device.
bool IntoBootLoader(updater::FlashLink& application, updater::FlashLink& bootLoader) {
    return ControllerIn(simulator::Firmware::Application) &&
           WaitUntil([&] { return application.deviceNumber() != 0; }) &&
           updater::enterBootLoader(application) == ExchangeResult::Ok &&
           ControllerIn(simulator::Firmware::BootLoader) && WaitUntil([&] { return bootLoader.deviceNumber() != 0; });
}

void BM_FlashImage(benchmark::State& state) {
    updater::FlashLink application(updater::FlashLink::Kind::Application);
    updater::FlashLink bootLoader(updater::FlashLink::Kind::BootLoader);
    application.open(simulator::kVendorId, simulator::kApplicationProductId);
    bootLoader.open(simulator::kVendorId, simulator::kBootLoaderProductId);
    RecordingChannel recorder(bootLoader);

    std::vector<std::uint8_t> body(kImageBytes - firmware::kImageHeaderBytes);
    for (std::size_t i = 0; i < body.size(); ++i) body[i] = static_cast<std::uint8_t>(i * 7 + 3);
    const std::vector<std::uint8_t> image = firmware::buildApplicationImage({1, 1, 0}, body);
    const firmware::Record versionBlock = firmware::encodeVerInfo(u"V1.10");
    const updater::FlashJob job{image, versionBlock, u"V1.10", kBytesPerWrite};
    const updater::Pauses pauses;

    std::vector<double> wallMs;
    std::vector<double> floorMs;
    std::vector<double> ratios;
    double cpuMs = 0;
    double callerCpuMs = 0;
    std::size_t writes = 0;
    FlashFloor floor;
    for (auto _ : state) {
        if (!IntoBootLoader(application, bootLoader)) {
            state.SkipWithError("the controller did not come up in its boot loader");
            return;
        }
        recorder.Clear();
        const double cpuStart = CpuMs(CLOCK_PROCESS_CPUTIME_ID);
        const double callerCpuStart = CpuMs(CLOCK_THREAD_CPUTIME_ID);
        const auto start = Clock::now();
        const updater::FlashOutcome outcome = updater::runFlashSequence(recorder, job, {}, pauses);
        const double wall = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        callerCpuMs += CpuMs(CLOCK_THREAD_CPUTIME_ID) - callerCpuStart;
        cpuMs += CpuMs(CLOCK_PROCESS_CPUTIME_ID) - cpuStart;
        state.SetIterationTime(wall / 1e3);
        if (!outcome.succeeded) {
            state.SkipWithError(outcome.failureText.c_str());
            return;
        }
        floor = FloorOfFlash(recorder.Trace(), pauses);
        writes += floor.writes;
        const double floorOfRun = floor.Milliseconds(bench::DeviceRoundTripMs());
        wallMs.push_back(wall);
        floorMs.push_back(floorOfRun);
        ratios.push_back(wall / floorOfRun);
    }
    state.counters["commands"] = static_cast<double>(floor.Commands());
    state.counters["writes"] = static_cast<double>(floor.writes);
    state.counters["failed"] = static_cast<double>(floor.failed);
    state.counters["pauses_ms"] = static_cast<double>(floor.pauses.count());
    state.counters["median_ms"] = bench::Median(wallMs);
    state.counters["floor_ms"] = bench::Median(floorMs);
    state.counters["ratio_to_floor"] = bench::Median(ratios);
    state.counters["cpu_ms_per_write"] = cpuMs / static_cast<double>(writes);
    // The flashing thread's share; the rest is the device library's reader and the virtual controller.
    state.counters["caller_cpu_ms_per_write"] = callerCpuMs / static_cast<double>(writes);
}

BENCHMARK(bench::BM_DeviceRoundTrip)->Iterations(500)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FlashImage)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return bench::RunWithVirtualController(argc, argv, "bench_updater", [](simulator::ControllerOptions& options) {
        options.targets = {LargeTarget()};
        // With a state file the controller's thread idles once it has saved its flash changes.
        options.stateFile = options.busFolder + "/controller.state";
    });
}
