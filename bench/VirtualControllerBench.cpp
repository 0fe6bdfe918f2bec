#include "VirtualControllerBench.h"

#include "CUSBDriver.h"
#include "tarnlink/tarnlink.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <optional>

#include <stdlib.h>

namespace bench {

namespace {

using Clock = std::chrono::steady_clock;

// The command set's waits that the link does not expose as constants.
constexpr double kProfileSettleStepDelays = 4.0;  // SelectProfile sleeps 4 step delays after its command
constexpr double kMinimumPollPauseMs = 10.0;      // the pause after a poll that missed: the step delay, 10 ms at least
constexpr int kProfilePolls = 5;                  // SelectProfile polls at most this often

constexpr std::uint8_t kWrite = 0x51;
constexpr std::uint8_t kRead = 0x52;
constexpr std::uint8_t kRecords = 0x12;
constexpr std::uint8_t kKeyProfile = 0x00;
constexpr std::uint8_t kKeyEffectParams = 0x2C;

bool Is(const IssuedCommand& c, std::uint8_t command, std::uint8_t key) { return c.command == command && c.key == key; }

// Whether the link follows the command with its step delay. It does not after SetEffectParams (sent in
// quick succession), GetProfile (SelectProfile's polls have their own pause), the firmware records of
// group 0x12, nor SelectProfile itself, which sleeps four step delays instead.
bool TakesStepDelay(const IssuedCommand& c) {
    return !Is(c, kWrite, kKeyEffectParams) && !Is(c, kRead, kKeyProfile) && !Is(c, kWrite, kKeyProfile) &&
           c.command != kRecords;
}

// The trace of the traced operations; the write runs on the sending thread, the callback on the
// library's reader thread.
std::mutex g_traceMutex;
std::vector<IssuedCommand> g_trace;

void NoteReply(const std::uint8_t* report, std::int32_t length) {
    if (report == nullptr || length != 65) return;
    const std::uint8_t* bytes = report + 1;  // after the report id
    std::lock_guard lock(g_traceMutex);
    if (g_trace.empty()) return;
    IssuedCommand& last = g_trace.back();
    const auto index = static_cast<std::uint16_t>(bytes[2] | bytes[3] << 8);
    if (!last.replied && bytes[0] == last.command && bytes[1] == last.key && index == last.index) {
        last.replied = true;
        last.replyData0 = bytes[4];
    }
}

std::int32_t TracedWrite(std::int32_t device, const void* data, std::int32_t length, std::int32_t slot) {
    if (data != nullptr && length >= 5) {
        const auto* bytes = static_cast<const std::uint8_t*>(data);
        IssuedCommand issued;
        issued.command = bytes[0];
        issued.key = bytes[1];
        issued.index = static_cast<std::uint16_t>(bytes[2] | bytes[3] << 8);
        issued.data0 = bytes[4];
        std::lock_guard lock(g_traceMutex);
        g_trace.push_back(issued);  // before the write: the reply may come before it returns
    }
    return Session().api.write(device, data, length, slot);
}

// The link's own callback per slot, called after the reply has been noted.
constexpr std::int32_t kSlotCount = 5;
std::array<std::atomic<TarnReportCallback>, kSlotCount> g_linkCallbacks{};

template <std::int32_t Slot>
void TracedReport(std::int32_t device, const std::uint8_t* report, std::int32_t length) {
    NoteReply(report, length);
    if (const TarnReportCallback callback = g_linkCallbacks[Slot].load()) callback(device, report, length);
}
constexpr std::array<TarnReportCallback, kSlotCount> kTracedReports = {
    &TracedReport<0>, &TracedReport<1>, &TracedReport<2>, &TracedReport<3>, &TracedReport<4>};

std::int32_t TracedSetReportCallback(TarnReportCallback callback, std::int32_t slot) {
    if (slot < 0 || slot >= kSlotCount) return Session().api.setReportCallback(callback, slot);
    const auto s = static_cast<std::size_t>(slot);
    g_linkCallbacks[s].store(callback);
    return Session().api.setReportCallback(callback != nullptr ? kTracedReports[s] : nullptr, slot);
}

// The baseline's own slot and its replies, awaited on an atomic.
constexpr std::int32_t kBaselineSlot = 2;
std::atomic<std::uint32_t> g_baselineReplies{0};
double g_deviceRoundTripMs = 0;

void OnBaselineReport(std::int32_t, const std::uint8_t* report, std::int32_t length) {
    if (length == 65 && report[1] == 0x40 && report[2] == 0x63) {
        g_baselineReplies.fetch_add(1, std::memory_order_release);
        g_baselineReplies.notify_one();
    }
}

}  // namespace

VirtualControllerSession& Session() {
    static VirtualControllerSession session;
    return session;
}

int RunWithVirtualController(int argc, char** argv, const char* programName,
                             const std::function<void(simulator::ControllerOptions&)>& adjust) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

    VirtualControllerSession& session = Session();
    std::string pattern = (std::filesystem::temp_directory_path() / (std::string(programName) + "-XXXXXX")).string();
    if (::mkdtemp(pattern.data()) == nullptr) return 1;
    session.bus = pattern;
    ::setenv("TARNLINK_BUS", session.bus.c_str(), 1);
    int qtArgc = 1;
    std::string name = programName;
    char* qtArgv[] = {name.data(), nullptr};
    // A benchmark of widgets makes its own application object first.
    std::optional<QCoreApplication> application;
    if (QCoreApplication::instance() == nullptr) application.emplace(qtArgc, qtArgv);

    const auto api = config::BindTarnlinkByOrdinal(&TarnGetProcByOrdinal);
    simulator::ControllerOptions options;
    options.busFolder = session.bus;
    options.usbTiming = true;
    if (adjust) adjust(options);
    auto started = simulator::VirtualController::start(options);
    int result = 1;
    if (api && started.controller) {
        session.api = *api;
        session.controller = std::move(started.controller);
        benchmark::RunSpecifiedBenchmarks();
        result = 0;
    }
    benchmark::Shutdown();
    session.controller.reset();
    std::error_code ignored;
    std::filesystem::remove_all(session.bus, ignored);
    return result;
}

}  // namespace bench

namespace bench {

const config::TarnlinkApi& TracedApi() {
    static const config::TarnlinkApi traced = [] {
        config::TarnlinkApi api = Session().api;
        api.write = &TracedWrite;
        api.setReportCallback = &TracedSetReportCallback;
        return api;
    }();
    return traced;
}

void ClearTrace() {
    std::lock_guard lock(g_traceMutex);
    g_trace.clear();
}

std::vector<IssuedCommand> TakeTrace() {
    std::lock_guard lock(g_traceMutex);
    std::vector<IssuedCommand> taken = std::move(g_trace);
    g_trace.clear();
    g_trace.reserve(taken.capacity());
    return taken;
}

ExchangeFloor FloorOf(std::span<const IssuedCommand> trace) {
    ExchangeFloor floor;
    int pollsLeft = 0;  // the GetProfile commands right after a SelectProfile are its polls
    std::uint8_t wanted = 0;
    for (const IssuedCommand& c : trace) {
        ++floor.commands;
        if (TakesStepDelay(c)) ++floor.stepDelays;
        if (Is(c, kWrite, kKeyProfile)) {
            ++floor.profileSettles;
            pollsLeft = kProfilePolls;
            wanted = c.data0;
            continue;
        }
        if (pollsLeft > 0 && Is(c, kRead, kKeyProfile)) {
            // The link's answer: 1 when the reply says 1, else 0, and 0 when no reply came.
            const std::uint8_t answer = c.replied && c.replyData0 == 1 ? 1 : 0;
            if (answer == wanted) {
                pollsLeft = 0;
            } else {
                ++floor.pollPauses;
                --pollsLeft;
            }
            continue;
        }
        pollsLeft = 0;
    }
    return floor;
}

// The link writes, then waits 3 ms, then awaits the reply: the device answers during that wait, so a
// command costs the longer of the two, not their sum. Then come the waits the command set adds.
double ExchangeFloor::Milliseconds(double deviceRoundTripMs, double stepDelayMs) const {
    const double writeWaitMs = std::chrono::duration<double, std::milli>(config::CUSBDriver::kWriteSettleTime).count();
    return static_cast<double>(commands) * std::max(writeWaitMs, deviceRoundTripMs) +
           static_cast<double>(stepDelays) * stepDelayMs +
           static_cast<double>(profileSettles) * kProfileSettleStepDelays * stepDelayMs +
           static_cast<double>(pollPauses) * std::max(stepDelayMs, kMinimumPollPauseMs);
}

void SetFloorCounters(benchmark::State& state, const ExchangeFloor& floor, const std::vector<double>& wallMs,
                      const std::vector<double>& floorMs, const std::vector<double>& ratios) {
    state.counters["commands"] = static_cast<double>(floor.commands);
    state.counters["step_delays"] = static_cast<double>(floor.stepDelays);
    state.counters["settles"] = static_cast<double>(floor.profileSettles);
    state.counters["poll_pauses"] = static_cast<double>(floor.pollPauses);
    state.counters["median_ms"] = Median(wallMs);
    state.counters["floor_ms"] = Median(floorMs);
    state.counters["ratio_to_floor"] = Median(ratios);
}

void BM_DeviceRoundTrip(benchmark::State& state) {
    TarnDeviceFilter filter{};
    filter.vendorId = config::CUSBDriver::kVendorId;
    filter.productId = config::CUSBDriver::kProductId;
    filter.pairCount = 1;
    filter.pairs[0] = {1, 0xFF00};
    Session().api.setFilter(&filter, kBaselineSlot);
    Session().api.setReportCallback(&OnBaselineReport, kBaselineSlot);
    const std::int32_t next = Session().api.open(nullptr, nullptr, 1282, kBaselineSlot);
    if (next < 2) {
        state.SkipWithError("the virtual controller is not on the bus");
        return;
    }
    std::uint8_t command[64] = {0x40, 0x63};
    std::vector<double> wallMs;
    for (auto _ : state) {
        const std::uint32_t before = g_baselineReplies.load(std::memory_order_acquire);
        const auto start = Clock::now();
        Session().api.write(1, command, 64, kBaselineSlot);
        std::uint32_t now = before;
        while (now == before) {
            g_baselineReplies.wait(now, std::memory_order_acquire);
            now = g_baselineReplies.load(std::memory_order_acquire);
        }
        wallMs.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    Session().api.close(kBaselineSlot);
    g_deviceRoundTripMs = Median(wallMs);
    state.counters["median_ms"] = g_deviceRoundTripMs;
}

double DeviceRoundTripMs() { return g_deviceRoundTripMs; }

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2), values.end());
    return values[values.size() / 2];
}

}  // namespace bench
