// Cold start of the configuration program to its first painted main window with no controller
// ("nodev"), against a bare Qt program that shows a plain widget of the same size (bare-window).
//
// Both run as child processes started the same way: on the offscreen platform, with their own
// XDG_CONFIG_HOME, XDG_DATA_HOME, XDG_RUNTIME_DIR and an empty private TARNLINK_BUS, and with the
// first-paint probe (FirstPaintProbe.cpp) preloaded, which writes the moment the first top-level window
// has been painted and flushed to a pipe. The time counted runs from just before the process is spawned
// to that moment; then the child is killed. One unmeasured start of each comes first, so both find the
// files they load in the page cache; then each iteration starts the two in turn (alternating which goes
// first). Reported: median, minimum and maximum of each, the ratio of the medians (target at most 2), the
// median times of each to the Qt application object (before it: process start and library loading) and
// to its window being shown (before it: the program's set-up, for the main window its skin), and the
// window size the probe saw (the bare window takes the size the main window had). Each child's peak
// resident memory (VmHWM) is read when it has painted, just before it is ended: reported are the medians
// of the main window and of the bare window and their ratio (target at most 2), and the median processor
// time each used, all its threads together, until it was ended just after its first paint. The benchmark
// runs once per skin resolution (ui:0 1920x1080, ui:1 1366x768, ui:2 960x540).
//
// A second benchmark measures the bare window against the same window showing one line of text: the
// part of any window's first paint that reading the system's fonts and drawing text costs.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

// The descriptor the probe writes to in the child.
constexpr int kProbeDescriptor = 100;
constexpr int kReportTimeoutMs = 20000;
constexpr const char* kMainWindowClass = "config::CConfigDlg";

struct FirstPaint {
    double milliseconds = 0;             // from the spawn to the first painted window
    double applicationMilliseconds = 0;  // from the spawn to the Qt application object being made
    double shownMilliseconds = 0;        // from the spawn to the first top-level widget being shown
    std::string windowClass;
    int width = 0;
    int height = 0;
    double peakMegabytes = 0;  // the child's peak resident memory when it had painted
    double cpuMilliseconds = 0;  // the processor time of all the child's threads, user and system, to its end
};

// The peak resident memory of process `pid` in MB (VmHWM of /proc/<pid>/status); 0 when unreadable.
double PeakResidentMegabytes(pid_t pid) {
    const std::string path = "/proc/" + std::to_string(pid) + "/status";
    std::FILE* status = std::fopen(path.c_str(), "r");
    if (status == nullptr) return 0;
    char line[256];
    double kilobytes = 0;
    while (std::fgets(line, sizeof line, status) != nullptr) {
        if (std::sscanf(line, "VmHWM: %lf kB", &kilobytes) == 1) break;
    }
    std::fclose(status);
    return kilobytes / 1024.0;
}

long long MonotonicNanoseconds() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// The environment of the children: the bench's own, with the variables below replaced.
class ChildEnvironment {
public:
    explicit ChildEnvironment(const std::filesystem::path& folder) {
        const std::vector<std::pair<std::string, std::string>> replaced = {
            {"QT_QPA_PLATFORM", "offscreen"},
            {"XDG_CONFIG_HOME", (folder / "config").string()},
            {"XDG_DATA_HOME", (folder / "data").string()},
            {"XDG_RUNTIME_DIR", (folder / "runtime").string()},
            {"TARNLINK_BUS", (folder / "bus").string()},
            {"LD_PRELOAD", FIRST_PAINT_PROBE},
            {"BENCH_FIRST_PAINT_FD", std::to_string(kProbeDescriptor)},
        };
        for (const auto& [name, value] : replaced) entries_.push_back(name + "=" + value);
        for (const auto& sub : {"config", "data", "runtime", "bus"}) std::filesystem::create_directories(folder / sub);
        std::filesystem::permissions(folder / "runtime", std::filesystem::perms::owner_all);
        for (char** e = environ; *e != nullptr; ++e) {
            const std::string entry = *e;
            const std::string name = entry.substr(0, entry.find('='));
            const bool isReplaced = std::any_of(replaced.begin(), replaced.end(),
                                                [&](const auto& r) { return r.first == name; });
            if (!isReplaced && name != "DISPLAY" && name != "WAYLAND_DISPLAY") entries_.push_back(entry);
        }
        for (std::string& entry : entries_) pointers_.push_back(entry.data());
        pointers_.push_back(nullptr);
    }
    char** Get() { return pointers_.data(); }

private:
    std::vector<std::string> entries_;
    std::vector<char*> pointers_;
};

// Starts `arguments`, waits for the probe's line, kills the child. Empty when it reported nothing.
std::optional<FirstPaint> TimeFirstPaint(const std::vector<std::string>& arguments, ChildEnvironment& environment) {
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) return std::nullopt;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], kProbeDescriptor);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<std::string> copies = arguments;
    std::vector<char*> argv;
    for (std::string& a : copies) argv.push_back(a.data());
    argv.push_back(nullptr);

    pid_t child = 0;
    const long long start = MonotonicNanoseconds();
    const int spawned = ::posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environment.Get());
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    std::optional<FirstPaint> result;
    if (spawned == 0) {
        std::string text;
        char buffer[256];
        pollfd p{pipeFds[0], POLLIN, 0};
        while (text.find("painted") == std::string::npos || text.back() != '\n') {
            if (::poll(&p, 1, kReportTimeoutMs) <= 0) break;
            const ssize_t n = ::read(pipeFds[0], buffer, sizeof buffer);
            if (n <= 0) break;
            text.append(buffer, static_cast<std::size_t>(n));
        }
        const double peak = PeakResidentMegabytes(child);
        ::kill(child, SIGKILL);
        int status = 0;
        rusage usage{};
        ::wait4(child, &status, 0, &usage);
        const auto milliseconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) * 1e3 + t.tv_usec / 1e3; };
        // One line per moment: its word, its time, and after "painted" the window's class and size.
        std::istringstream lines(text);
        std::string line;
        std::map<std::string, long long> moments;
        FirstPaint paint;
        while (std::getline(lines, line)) {
            std::istringstream fields(line);
            std::string word;
            long long at = 0;
            if (!(fields >> word >> at)) continue;
            moments[word] = at;
            if (word == "painted") fields >> paint.windowClass >> paint.width >> paint.height;
        }
        if (moments.count("application") != 0 && moments.count("shown") != 0 && moments.count("painted") != 0) {
            paint.milliseconds = static_cast<double>(moments["painted"] - start) / 1e6;
            paint.applicationMilliseconds = static_cast<double>(moments["application"] - start) / 1e6;
            paint.shownMilliseconds = static_cast<double>(moments["shown"] - start) / 1e6;
            paint.peakMegabytes = peak;
            paint.cpuMilliseconds = milliseconds(usage.ru_utime) + milliseconds(usage.ru_stime);
            result = paint;
        }
    }
    ::close(pipeFds[0]);
    return result;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// What the starts of one program measured.
struct Starts {
    std::vector<double> ms, applicationMs, shownMs, peakMb, cpuMs;

    void Add(const FirstPaint& paint) {
        ms.push_back(paint.milliseconds);
        applicationMs.push_back(paint.applicationMilliseconds);
        shownMs.push_back(paint.shownMilliseconds);
        peakMb.push_back(paint.peakMegabytes);
        cpuMs.push_back(paint.cpuMilliseconds);
    }
};

// Each iteration starts `first` and `second` in turn, alternating which goes first; a start of `first`
// counts when `accept` takes its paint. The iteration's time is the last start of `first`. False when a
// start reported no first paint (or none that counts).
bool StartInTurn(benchmark::State& state, const std::vector<std::string>& first, const std::vector<std::string>& second,
                 ChildEnvironment& environment, const std::function<bool(const FirstPaint&)>& accept,
                 Starts& firstStarts, Starts& secondStarts) {
    bool failed = false;
    for (auto _ : state) {
        const bool firstGoesFirst = firstStarts.ms.size() % 2 == 0;
        for (int turn = 0; turn < 2; ++turn) {
            const bool runFirst = (turn == 0) == firstGoesFirst;
            const std::optional<FirstPaint> paint = TimeFirstPaint(runFirst ? first : second, environment);
            if (!paint || (runFirst && !accept(*paint))) {
                failed = true;
                continue;
            }
            (runFirst ? firstStarts : secondStarts).Add(*paint);
        }
        state.SetIterationTime((firstStarts.ms.empty() ? 0 : firstStarts.ms.back()) / 1e3);
    }
    return !failed && !firstStarts.ms.empty() && !secondStarts.ms.empty();
}

// A private folder for the children's configuration, data, runtime files and bus; empty when none.
std::optional<std::filesystem::path> MakeChildFolder() {
    char pattern[] = "/tmp/bench_startup-XXXXXX";
    if (::mkdtemp(pattern) == nullptr) return std::nullopt;
    return std::filesystem::path(pattern);
}

void BM_ColdStartNoDevice(benchmark::State& state) {
    const std::optional<std::filesystem::path> folder = MakeChildFolder();
    if (!folder) {
        state.SkipWithError("no temporary folder");
        return;
    }
    ChildEnvironment environment(*folder);
    const std::vector<std::string> mainWindow = {HALCYRA_PROGRAM, "nodev", "ui:" + std::to_string(state.range(0))};

    // The unmeasured first starts; the main window's size is the bare window's.
    const std::optional<FirstPaint> first = TimeFirstPaint(mainWindow, environment);
    if (!first || first->windowClass != kMainWindowClass) {
        state.SkipWithError("the configuration program painted no main window");
        std::filesystem::remove_all(*folder);
        return;
    }
    const std::vector<std::string> bareWindow = {BARE_WINDOW_PROGRAM, std::to_string(first->width),
                                                 std::to_string(first->height)};
    const std::optional<FirstPaint> bareFirst = TimeFirstPaint(bareWindow, environment);
    if (!bareFirst || bareFirst->width != first->width || bareFirst->height != first->height) {
        state.SkipWithError("the bare window painted nothing of the main window's size");
        std::filesystem::remove_all(*folder);
        return;
    }

    Starts main, bare;
    const bool measured = StartInTurn(
        state, mainWindow, bareWindow, environment,
        [](const FirstPaint& paint) { return paint.windowClass == kMainWindowClass; }, main, bare);
    std::filesystem::remove_all(*folder);
    if (!measured) {
        state.SkipWithError("a start reported no first paint");
        return;
    }
    const double mainMedian = Median(main.ms);
    const double bareMedian = Median(bare.ms);
    state.counters["main_median_ms"] = mainMedian;
    state.counters["main_min_ms"] = *std::min_element(main.ms.begin(), main.ms.end());
    state.counters["main_max_ms"] = *std::max_element(main.ms.begin(), main.ms.end());
    state.counters["bare_median_ms"] = bareMedian;
    state.counters["bare_min_ms"] = *std::min_element(bare.ms.begin(), bare.ms.end());
    state.counters["bare_max_ms"] = *std::max_element(bare.ms.begin(), bare.ms.end());
    state.counters["ratio_to_bare"] = mainMedian / bareMedian;
    // Where the time goes: to the application object (loading and relocating the libraries), to the window
    // being shown (the program's set-up; for the main window its skin), and on to its first paint.
    state.counters["main_to_app_ms"] = Median(main.applicationMs);
    state.counters["bare_to_app_ms"] = Median(bare.applicationMs);
    state.counters["main_to_shown_ms"] = Median(main.shownMs);
    state.counters["bare_to_shown_ms"] = Median(bare.shownMs);
    // The processor time each spent to its first paint, all threads together: the work that set-up on
    // more threads spreads over the cores but does not shrink.
    state.counters["main_cpu_ms"] = Median(main.cpuMs);
    state.counters["bare_cpu_ms"] = Median(bare.cpuMs);
    // Peak resident memory at the first paint.
    state.counters["main_peak_mb"] = Median(main.peakMb);
    state.counters["bare_peak_mb"] = Median(bare.peakMb);
    state.counters["peak_ratio_to_bare"] = Median(bare.peakMb) > 0 ? Median(main.peakMb) / Median(bare.peakMb) : 0;
    state.counters["width"] = first->width;
    state.counters["height"] = first->height;
}

// What one line of text costs a bare window's first paint: the bare window of the largest main window's
// size, once plain and once showing a label (bare-window ... text). The text makes Qt read the system's
// font configuration and font list and render glyphs, as every window with text must; the plain window
// does none of that. Reported: both medians and their ratio.
void BM_BareWindowWithOneLineOfText(benchmark::State& state) {
    const std::optional<std::filesystem::path> folder = MakeChildFolder();
    if (!folder) {
        state.SkipWithError("no temporary folder");
        return;
    }
    ChildEnvironment environment(*folder);
    const std::vector<std::string> plain = {BARE_WINDOW_PROGRAM, "1280", "848"};
    const std::vector<std::string> withText = {BARE_WINDOW_PROGRAM, "1280", "848", "text"};
    // The unmeasured first starts.
    const bool started = TimeFirstPaint(withText, environment) && TimeFirstPaint(plain, environment);
    Starts text, bare;
    const bool measured =
        started && StartInTurn(state, withText, plain, environment, [](const FirstPaint&) { return true; }, text, bare);
    std::filesystem::remove_all(*folder);
    if (!measured) {
        state.SkipWithError("a start reported no first paint");
        return;
    }
    state.counters["text_median_ms"] = Median(text.ms);
    state.counters["bare_median_ms"] = Median(bare.ms);
    state.counters["text_ratio_to_bare"] = Median(text.ms) / Median(bare.ms);
    state.counters["text_cpu_ms"] = Median(text.cpuMs);
    state.counters["bare_cpu_ms"] = Median(bare.cpuMs);
}

// One run per skin: the argument is the program's "ui:" number.
BENCHMARK(BM_ColdStartNoDevice)
    ->ArgName("ui")
    ->DenseRange(0, 2)
    ->Iterations(21)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

BENCHMARK(BM_BareWindowWithOneLineOfText)->Iterations(21)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
