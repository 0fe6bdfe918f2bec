// The LED page's live preview against the virtual controller in its USB-like timing mode (one report
// per millisecond frame each way), driven through the real page on the offscreen platform.
//
// BM_PreviewRound: SelectEffect of STATIC, which previews the effect (SetMode, SetActiveEffect) and
// sends its parameters (SetEffectParams), and refreshes the page. Median wall time per round against the
// floor of the commands the round really wrote (bench::FloorOf: per command the 3 ms wait after the
// write or the device's round trip if longer, measured first in the same run by BM_DeviceRoundTrip, plus
// the step delays); target at most 1.1.
//
// BM_SliderDrag/5: a hand dragging the speed slider of BREATH for 2 s: a thread posts the slider's
// notification to the page every 5 ms (the value moving across the slider's five levels), then the
// release. BM_SliderDrag/1 does the same every millisecond, faster than a send, so notifications queue
// up behind the exchanges and coalesce. Reported: whether the controller ends on the last position (final_is_last), the time from
// the last notification to the controller holding that value (watched on the controller's own state),
// in milliseconds and in preview rounds of BM_PreviewRound (target under 2), and how many parameter
// sends the notifications cost.
#include "CUSBDriver.h"
#include "EffectParams.h"
#include "LedDlg.h"
#include "LightingCodes.h"
#include "PngHSliderBar.h"
#include "ProfileRecord.h"
#include "SkinDocuments.h"
#include "VirtualControllerBench.h"
#include "WindowMessage.h"

#include <QApplication>
#include <QEventLoop>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kDragLength = std::chrono::milliseconds(2000);
constexpr auto kDrainTime = std::chrono::milliseconds(200);

double g_previewRoundMs = 0;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// The page on a link through the traced library operations, with the working and saved copies.
struct PageOnController {
    config::CUSBDriver link{bench::TracedApi()};
    config::SettingsBlock working{};
    config::SettingsBlock saved{};
    QWidget host;
    config::CLedDlg page;

    bool Open() {
        if (!link.OpenDevice() || link.GetDeviceInfo() != 0) return false;
        working.profiles[0].Reset();
        saved = working;
        page.SetImageFolderName(QStringLiteral("1920x1080"));
        page.SetSettings(&link, &working, &saved);
        page.CreateSkinPage(&host, skin::CBaseDlg::kChildTemplate);
        host.show();
        page.show();
        return true;
    }
};

void BM_PreviewRound(benchmark::State& state) {
    PageOnController setup;
    if (!setup.Open()) {
        state.SkipWithError("the link did not open");
        return;
    }
    const double stepDelayMs = setup.link.StepDelayMilliseconds();
    std::vector<double> wallMs;
    std::vector<double> ratios;
    bench::ExchangeFloor floor;
    double floorMs = 0;
    for (auto _ : state) {
        bench::ClearTrace();
        const auto start = Clock::now();
        setup.page.SelectEffect(config::effect_index::STATIC);
        const double wall = Ms(Clock::now() - start);
        floor = bench::FloorOf(bench::TakeTrace());
        floorMs = floor.Milliseconds(bench::DeviceRoundTripMs(), stepDelayMs);
        wallMs.push_back(wall);
        ratios.push_back(wall / floorMs);
    }
    g_previewRoundMs = bench::Median(wallMs);
    state.counters["commands"] = static_cast<double>(floor.commands);
    state.counters["median_ms"] = g_previewRoundMs;
    state.counters["floor_ms"] = floorMs;
    state.counters["ratio_to_floor"] = bench::Median(ratios);
}

// The speed level of the n-th notification: back and forth across the five levels.
int LevelAt(int n) {
    constexpr int kPeriod = 8;  // 0 1 2 3 4 3 2 1
    const int phase = n % kPeriod;
    return phase <= 4 ? phase : kPeriod - phase;
}

void BM_SliderDrag(benchmark::State& state) {
    PageOnController setup;
    if (!setup.Open()) {
        state.SkipWithError("the link did not open");
        return;
    }
    simulator::VirtualController& controller = *bench::Session().controller;
    const std::uint8_t breath = config::effect_code::BREATH;
    std::vector<double> latencies;
    bool allFinalLast = true;
    std::size_t sends = 0;
    int notifications = 0;
    const std::chrono::milliseconds interval(state.range(0));
    for (auto _ : state) {
        setup.page.SelectEffect(config::effect_index::BREATH);
        bench::ClearTrace();
        const int count = static_cast<int>(kDragLength / interval);
        const int last = LevelAt(count - 1);
        const std::uint8_t lastRaw = config::RawSpeed(breath, static_cast<std::uint8_t>(last));

        // The hand: one notification every 5 ms, then the release with the same value.
        std::atomic<bool> posted{false};
        Clock::time_point lastPost;
        std::thread hand([&] {
            auto next = Clock::now();
            for (int n = 0; n < count; ++n) {
                next += interval;
                std::this_thread::sleep_until(next);
                platform::PostWindowMessage(&setup.page, skin::kSliderValueMessage,
                                            static_cast<std::uintptr_t>(LevelAt(n)), config::CLedDlg::kSpeedSliderId);
            }
            platform::PostWindowMessage(&setup.page, skin::kSliderValueMessage, static_cast<std::uintptr_t>(last),
                                        config::CLedDlg::kSpeedSliderId);
            lastPost = Clock::now();
            posted.store(true);
        });

        // The controller's side: from the last notification on, when its entry last became the last value.
        std::atomic<bool> stop{false};
        Clock::time_point heldSince{};
        bool held = false;
        std::thread watcher([&] {
            while (!posted.load()) std::this_thread::sleep_for(std::chrono::microseconds(200));
            const auto watch = [&](const simulator::ControllerState& s, bool) {
                const bool now = s.live.current().effectParams[0][breath][config::kEntrySpeed] == lastRaw;
                if (now && !held) heldSince = Clock::now();
                held = now;
                return stop.load();
            };
            while (!stop.load()) controller.waitFor(watch, std::chrono::milliseconds(2));
        });

        // The user-interface thread runs its event loop through the drag and a little after.
        QEventLoop loop;
        QTimer::singleShot(kDragLength + kDrainTime, &loop, &QEventLoop::quit);
        loop.exec();
        hand.join();
        while (!posted.load()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        QCoreApplication::sendPostedEvents();
        stop.store(true);
        watcher.join();

        std::uint8_t finalRaw = 0;
        controller.inspect([&](const simulator::ControllerState& s, bool) {
            finalRaw = s.live.current().effectParams[0][breath][config::kEntrySpeed];
        });
        const bool finalIsLast = finalRaw == lastRaw &&
                                 setup.working.profiles[0].lighting.baseLayer[config::layer_field::BREATH_SPEED] == last;
        allFinalLast = allFinalLast && finalIsLast && held;
        latencies.push_back(heldSince > lastPost ? Ms(heldSince - lastPost) : 0.0);
        sends = 0;
        for (const bench::IssuedCommand& c : bench::TakeTrace()) sends += c.command == 0x51 && c.key == 0x2C ? 1 : 0;
        notifications = count + 1;
    }
    const double latency = bench::Median(latencies);
    state.counters["final_is_last"] = allFinalLast ? 1 : 0;
    state.counters["notifications"] = notifications;
    state.counters["param_sends"] = static_cast<double>(sends);
    state.counters["latency_ms"] = latency;
    state.counters["latency_rounds"] = g_previewRoundMs > 0 ? latency / g_previewRoundMs : 0;
}

BENCHMARK(bench::BM_DeviceRoundTrip)->Iterations(300)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PreviewRound)->Iterations(40)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SliderDrag)->Arg(5)->Arg(1)->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    // The page is drawn off screen; its skin is the build's program folder.
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    int qtArgc = 1;
    char name[] = "bench_ledpage";
    char* qtArgv[] = {name, nullptr};
    QApplication application(qtArgc, qtArgv);
    skindocs::LoadSkinDocuments(HALCYRA_PROGRAM_DIR "/", "1920x1080");
    return bench::RunWithVirtualController(argc, argv, "bench_ledpage");
}
