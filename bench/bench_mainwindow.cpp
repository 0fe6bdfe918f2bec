// The configuration program's main window (CConfigDlg, offscreen, started with "nodev" so that a removal
// does not end it) against a virtual controller in its USB-like timing mode.
//
// BM_ArrivalToIdle: the controller leaves the bus and comes back; from the moment it is put back to the
// window being idle again (the arrival read to the end: ArrivalsRead() counted, not busy, no pop-up,
// no warning window). Against the floor of the pauses the window mandates: the loading pop-up's
// one-second delay before its read and its 100 ms after it, plus the floor of the commands the arrival
// really wrote (bench::FloorOf, with the device's round trip measured first in the same run by
// BM_DeviceRoundTrip). Target: at most 1.1. Also reported, as medians: the time to the loading pop-up,
// from the pop-up to its first read command (its one-second delay; also its shortest and longest), from
// that command to the pop-up closing, and from there to idle; and the floors of the commands written in
// the first, the third (plus the 100 ms after the read) and the last of these stretches.
//
// BM_IdleWakeups: the window open and idle on an attached controller with the effect it selects, for
// 5 s of the window's own event loop. The controller for this one runs as a separate process
// (virtual-controller), so every thread counted is the window's: wake-ups (voluntary and involuntary
// context switches in /proc/self/task/*/status) per second, per thread; printed per thread after the
// run. Target: no thread wakes more than once a second. The main thread's count includes one wake-up of
// the benchmark's own (the timer that ends the 5 s).
#include "CUSBDriver.h"
#include "CommandLine.h"
#include "ConfigDlg.h"
#include "LedTargets.h"
#include "PopupWindows.h"
#include "SkinSet.h"
#include "Startup.h"
#include "VirtualControllerBench.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <span>
#include <memory>
#include <string>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

constexpr double kLoadingDelayMs = 1000.0;     // CLoadingDlg::kReadDelayMs: the pop-up's delay before its read
constexpr double kAfterReadPauseMs = 100.0;    // the pop-up's pause after the read
constexpr auto kWaitLimit = std::chrono::seconds(30);
constexpr auto kIdleSettle = std::chrono::seconds(1);
constexpr auto kIdleWindow = std::chrono::seconds(5);

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// Runs the event loop until `done` holds (checked every millisecond) or the limit passes.
template <typename Predicate>
bool RunUntil(Predicate done, Clock::duration limit = kWaitLimit) {
    const auto deadline = Clock::now() + limit;
    QEventLoop loop;
    QTimer check;
    check.setTimerType(Qt::PreciseTimer);
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (done() || Clock::now() > deadline) loop.quit();
    });
    check.start(1);
    if (!done()) loop.exec();
    return done();
}

// Runs the event loop for `length` with nothing of the benchmark's own waking in between.
void RunFor(Clock::duration length) {
    QEventLoop loop;
    QTimer::singleShot(std::chrono::duration_cast<std::chrono::milliseconds>(length), Qt::PreciseTimer, &loop,
                       &QEventLoop::quit);
    loop.exec();
}

bool Idle(const config::CConfigDlg& window, int arrivals) {
    return window.ArrivalsRead() >= arrivals && !window.IsBusy() && !config::g_popupOpen &&
           config::FindWindowByTitle(config::kWarnDlgTitle) == nullptr;
}

// The moments of the loading pop-up, seen by an application-wide filter, and the first command written
// after it showed, seen at the device library's write.
struct ArrivalMoments {
    Clock::time_point popupShown{};
    Clock::time_point firstReadWrite{};
    Clock::time_point popupHidden{};
    std::size_t writesBeforePopup = 0;  // commands written before the pop-up showed
    std::size_t writesBeforeHide = 0;   // and before it closed
    void Clear() { *this = {}; }
};
ArrivalMoments g_moments;

class LoadingPopupWatch final : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if ((event->type() == QEvent::Show || event->type() == QEvent::Hide) && watched->inherits("config::CLoadingDlg")) {
            (event->type() == QEvent::Show ? g_moments.popupShown : g_moments.popupHidden) = Clock::now();
        }
        return false;
    }
};

std::int32_t TimedWrite(std::int32_t device, const void* data, std::int32_t length, std::int32_t slot) {
    if (g_moments.popupShown != Clock::time_point{} && g_moments.firstReadWrite == Clock::time_point{}) {
        g_moments.firstReadWrite = Clock::now();
    }
    if (g_moments.popupShown == Clock::time_point{}) ++g_moments.writesBeforePopup;
    if (g_moments.popupHidden == Clock::time_point{}) ++g_moments.writesBeforeHide;
    return bench::TracedApi().write(device, data, length, slot);
}

// The traced operations, with the write also noting the first command after the pop-up showed.
const config::TarnlinkApi& TimedApi() {
    static const config::TarnlinkApi api = [] {
        config::TarnlinkApi timed = bench::TracedApi();
        timed.write = &TimedWrite;
        return timed;
    }();
    return api;
}

// The window as the program makes it, on the build's program folder and skin, with "nodev".
std::unique_ptr<config::CConfigDlg> MakeWindow(const config::TarnlinkApi& api) {
    config::ConfigDlgSetup setup;
    setup.options = config::ParseCommandLine(std::vector<std::string>{"nodev"});
    setup.resolutionFolder = config::ResolutionFolder(-1, config::PrimaryScreenWidth());
    setup.tarnlink = api;
    setup.loadSkinSet = [](const std::string& folder) { config::LoadSkinSetFrom(HALCYRA_PROGRAM_DIR "/", folder); };
    // The program's own firmware check, on the updater of the build's program folder.
    setup.promptSetup = [](firmware::PackageMessageSink& messages) {
        fwstatus::PromptSetup prompt = fwstatus::DefaultPromptSetup(messages);
        prompt.prompt.updaterProgram = HALCYRA_PROGRAM_DIR "/Tessaflash/tessaflash";
        return prompt;
    };
    auto window = std::make_unique<config::CConfigDlg>(std::move(setup));
    window->show();
    return window;
}

void BM_ArrivalToIdle(benchmark::State& state) {
    simulator::VirtualController& controller = *bench::Session().controller;
    LoadingPopupWatch watch;
    qApp->installEventFilter(&watch);
    std::unique_ptr<config::CConfigDlg> window = MakeWindow(TimedApi());
    if (!RunUntil([&] { return Idle(*window, 1); })) {
        state.SkipWithError("the window did not read the controller at start");
        return;
    }
    const double stepDelayMs = window->ControllerLink().StepDelayMilliseconds();
    std::vector<double> wallMs, floorMs, ratios, toPopup, popupDelay, popupRead, afterPopup;
    std::vector<double> toPopupFloor, popupReadFloor, afterPopupFloor;
    bench::ExchangeFloor floor;
    bool ok = true;
    for (auto _ : state) {
        const int arrivals = window->ArrivalsRead() + 1;
        controller.unplug();
        ok = ok && RunUntil([&] { return !window->ControllerLink().IsOpen(); });
        RunFor(std::chrono::milliseconds(100));  // the removal handled to the end
        bench::ClearTrace();
        g_moments.Clear();
        const auto start = Clock::now();
        controller.plugIn();
        ok = ok && RunUntil([&] { return Idle(*window, arrivals); });
        const auto end = Clock::now();
        ok = ok && g_moments.popupShown != Clock::time_point{} && g_moments.firstReadWrite != Clock::time_point{} &&
             g_moments.popupHidden != Clock::time_point{};
        const std::vector<bench::IssuedCommand> trace = bench::TakeTrace();
        floor = bench::FloorOf(trace);
        const double floorOfRun =
            kLoadingDelayMs + kAfterReadPauseMs + floor.Milliseconds(bench::DeviceRoundTripMs(), stepDelayMs);
        // The floors of the three stretches: before the pop-up, under it (its read), after it.
        const std::size_t shownAt = std::min(g_moments.writesBeforePopup, trace.size());
        const std::size_t hiddenAt = std::clamp(g_moments.writesBeforeHide, shownAt, trace.size());
        const auto stretchFloor = [&](std::size_t from, std::size_t to) {
            return bench::FloorOf(std::span(trace).subspan(from, to - from))
                .Milliseconds(bench::DeviceRoundTripMs(), stepDelayMs);
        };
        toPopupFloor.push_back(stretchFloor(0, shownAt));
        popupReadFloor.push_back(stretchFloor(shownAt, hiddenAt) + kAfterReadPauseMs);
        afterPopupFloor.push_back(stretchFloor(hiddenAt, trace.size()));
        const double wall = Ms(end - start);
        state.SetIterationTime(wall / 1e3);
        wallMs.push_back(wall);
        floorMs.push_back(floorOfRun);
        ratios.push_back(wall / floorOfRun);
        toPopup.push_back(Ms(g_moments.popupShown - start));
        popupDelay.push_back(Ms(g_moments.firstReadWrite - g_moments.popupShown));
        popupRead.push_back(Ms(g_moments.popupHidden - g_moments.firstReadWrite));
        afterPopup.push_back(Ms(end - g_moments.popupHidden));
    }
    qApp->removeEventFilter(&watch);
    window.reset();  // hands the controller back while it is still attached
    if (!ok || wallMs.empty()) {
        state.SkipWithError("an arrival was not read to the end under the loading pop-up");
        return;
    }
    bench::SetFloorCounters(state, floor, wallMs, floorMs, ratios);
    state.counters["to_popup_ms"] = bench::Median(toPopup);
    state.counters["popup_delay_ms"] = bench::Median(popupDelay);
    state.counters["popup_delay_min_ms"] = *std::min_element(popupDelay.begin(), popupDelay.end());
    state.counters["popup_delay_max_ms"] = *std::max_element(popupDelay.begin(), popupDelay.end());
    state.counters["read_to_close_ms"] = bench::Median(popupRead);
    state.counters["close_to_idle_ms"] = bench::Median(afterPopup);
    state.counters["to_popup_floor_ms"] = bench::Median(toPopupFloor);
    state.counters["read_to_close_floor_ms"] = bench::Median(popupReadFloor);
    state.counters["close_to_idle_floor_ms"] = bench::Median(afterPopupFloor);
}

// One thread's wake-ups so far and what it is waiting in.
struct ThreadSample {
    std::string name;
    long switches = 0;
    std::string waitingIn;
};

std::string ReadLine(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    return line;
}

std::map<long, ThreadSample> SampleThreads() {
    std::map<long, ThreadSample> threads;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
        ThreadSample sample;
        sample.name = ReadLine(task.path() / "comm");
        sample.waitingIn = ReadLine(task.path() / "wchan");
        if (sample.waitingIn == "0") sample.waitingIn = "(running)";
        std::ifstream status(task.path() / "status");
        std::string line;
        while (std::getline(status, line)) {
            if (line.starts_with("voluntary_ctxt_switches:") || line.starts_with("nonvoluntary_ctxt_switches:")) {
                sample.switches += std::stol(line.substr(line.find(':') + 1));
            }
        }
        threads[std::stol(task.path().filename().string())] = sample;
    }
    return threads;
}

double ProcessCpuSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The per-thread figures of the idle run, printed after the benchmarks.
std::vector<std::string> g_idleReport;

// A virtual controller process on the session's bus with the updater's firmware; 0 when it did not start.
pid_t StartControllerProcess() {
    const std::string bus = bench::Session().bus;
    std::vector<std::string> arguments = {VIRTUAL_CONTROLLER_PROGRAM, "--bus", bus, "--name", "idle-controller",
                                          "--no-state", "--usb-timing", "--no-window", "--firmware", "1.1.0"};
    std::vector<char*> argv;
    for (std::string& a : arguments) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int spawned = ::posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return spawned == 0 ? child : 0;
}

void BM_IdleWakeups(benchmark::State& state) {
    // The in-process controller leaves the bus; a controller of its own process takes its place.
    simulator::VirtualController& inProcess = *bench::Session().controller;
    inProcess.unplug();
    if (!inProcess.waitFor([](const simulator::ControllerState&, bool onBus) { return !onBus; },
                           std::chrono::seconds(5))) {
        state.SkipWithError("the in-process controller stayed on the bus");
        return;
    }
    const pid_t controllerProcess = StartControllerProcess();
    std::unique_ptr<config::CConfigDlg> window;
    if (controllerProcess != 0) {
        window = MakeWindow(bench::Session().api);
        if (!RunUntil([&] { return Idle(*window, 1); })) window.reset();
    }
    if (!window) {
        if (controllerProcess != 0) {
            ::kill(controllerProcess, SIGTERM);
            ::waitpid(controllerProcess, nullptr, 0);
        }
        inProcess.plugIn();
        state.SkipWithError("the window did not read the controller process");
        return;
    }
    const int effect = window->WorkingCopy().profiles[0].lighting.SelectEffect();
    const long mainThread = ::getpid();
    double worst = 0;
    double cpuPercent = 0;
    for (auto _ : state) {
        RunFor(kIdleSettle);
        const auto before = SampleThreads();
        const double cpuBefore = ProcessCpuSeconds();
        const auto start = Clock::now();
        RunFor(kIdleWindow);
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        const double cpu = ProcessCpuSeconds() - cpuBefore;
        const auto after = SampleThreads();
        cpuPercent = cpu / seconds * 100;
        g_idleReport.clear();
        for (const auto& [tid, sample] : after) {
            const auto earlier = before.find(tid);
            const long wakeups = sample.switches - (earlier != before.end() ? earlier->second.switches : 0);
            const double perSecond = static_cast<double>(wakeups) / seconds;
            worst = std::max(worst, perSecond);
            char line[256];
            std::snprintf(line, sizeof line, "  thread %ld%s %-16s waits in %-24s %5ld wake-ups  %6.2f /s", tid,
                          tid == mainThread ? " (main)" : "       ", sample.name.c_str(),
                          sample.waitingIn.c_str(), wakeups, perSecond);
            g_idleReport.emplace_back(line);
        }
        state.counters["threads"] = static_cast<double>(after.size());
    }
    window.reset();
    ::kill(controllerProcess, SIGTERM);
    ::waitpid(controllerProcess, nullptr, 0);
    inProcess.plugIn();
    state.counters["selected_effect"] = effect;
    state.counters["max_thread_wakeups_per_s"] = worst;
    state.counters["cpu_percent"] = cpuPercent;
}

BENCHMARK(bench::BM_DeviceRoundTrip)->Iterations(300)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ArrivalToIdle)->Iterations(8)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IdleWakeups)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    // The window is drawn off screen; its settings files and lock go to a folder of the run's own.
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    std::string folder = (std::filesystem::temp_directory_path() / "bench_mainwindow-home-XXXXXX").string();
    if (::mkdtemp(folder.data()) == nullptr) return 1;
    for (const auto& [name, sub] : {std::pair{"XDG_CONFIG_HOME", "config"}, std::pair{"XDG_DATA_HOME", "data"}}) {
        std::filesystem::create_directories(std::filesystem::path(folder) / sub);
        ::setenv(name, (std::filesystem::path(folder) / sub).c_str(), 1);
    }
    int qtArgc = 1;
    char name[] = "bench_mainwindow";
    char* qtArgv[] = {name, nullptr};
    QApplication application(qtArgc, qtArgv);
    const int result = bench::RunWithVirtualController(argc, argv, "bench_mainwindow", [](simulator::ControllerOptions& o) {
        o.targets.front().freshVersion = {1, 1, 0};  // the updater's firmware: no prompt
    });
    if (!g_idleReport.empty()) {
        std::printf("BM_IdleWakeups per thread (%lld s, window idle on an attached controller):\n",
                    static_cast<long long>(kIdleWindow.count()));
        for (const std::string& line : g_idleReport) std::printf("%s\n", line.c_str());
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return result;
}
