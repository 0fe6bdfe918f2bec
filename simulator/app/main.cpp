// virtual-controller: puts virtual lighting controllers on the virtual bus, shows their LEDs in the
// terminal (and in a window when a display is available), and stops cleanly on Ctrl-C or a signal.
#include "CommandLine.h"
#include "TerminalDisplay.h"

#ifdef HALCYRA_SIMULATOR_WINDOW
#include "DisplayPlatform.h"
#include "LedWindow.h"

#include <QApplication>
#include <QScreen>
#include <QSocketNotifier>
#include <QTimer>
#endif

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

using namespace simulator;
using namespace simulator::app;

int g_signalPipe[2] = {-1, -1};

void onSignal(int number) {
    const char c = static_cast<char>(number);
    [[maybe_unused]] const ssize_t w = ::write(g_signalPipe[1], &c, 1);
}

// Raw keys from the terminal while the program runs; the settings come back at the end.
class RawKeys {
public:
    RawKeys() {
        // Only in the terminal's foreground: a background process that touched the settings would stop.
        if (!::isatty(STDIN_FILENO) || ::tcgetpgrp(STDIN_FILENO) != ::getpgrp()) return;
        if (::tcgetattr(STDIN_FILENO, &saved_) != 0) return;
        termios raw = saved_;
        raw.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO));
        raw.c_cc[VMIN] = 0;
        raw.c_cc[VTIME] = 0;
        active_ = ::tcsetattr(STDIN_FILENO, TCSANOW, &raw) == 0;
    }
    ~RawKeys() {
        if (active_) ::tcsetattr(STDIN_FILENO, TCSANOW, &saved_);
    }
    bool active() const { return active_; }

private:
    termios saved_{};
    bool active_ = false;
};

struct Program {
    std::vector<std::unique_ptr<VirtualController>> controllers;
    std::vector<VirtualController*> plain;
    std::unique_ptr<TerminalDisplay> display;
    bool quit = false;

    // Returns false when the program should end.
    bool onKey(char key) {
        for (auto* c : plain) {
            if (key == 'b') c->pressEffectButton();
            if (key == 'p') c->pressProfileButton();
            if (key == 'u') c->onBus() ? c->unplug() : c->plugIn();
        }
        return key != 'q';
    }
    bool onSignalByte(char number) {
        if (number == SIGUSR1) {
            for (auto* c : plain) c->pressEffectButton();
            return true;
        }
        return false;
    }
    void drainKeys() {
        char key;
        while (::read(STDIN_FILENO, &key, 1) == 1)
            if (!onKey(key)) quit = true;
    }
    void drainSignals() {
        char number;
        while (::read(g_signalPipe[0], &number, 1) == 1)
            if (!onSignalByte(number)) quit = true;
    }
};

#ifdef HALCYRA_SIMULATOR_WINDOW
bool displayAvailable() {
    const char* x = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x && *x) || (wayland && *wayland);
}
#endif

}  // namespace

int main(int argc, char** argv) {
    const auto parsed = parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.options) {
        std::fprintf(stderr, "virtual-controller: %s\n%s", parsed.error.c_str(), usageText().c_str());
        return 2;
    }
    const ProgramOptions& options = *parsed.options;
    if (options.help) {
        std::fputs(usageText().c_str(), stdout);
        return 0;
    }
    std::error_code ec;
    std::filesystem::create_directories(options.busFolder, ec);
    if (!options.noState) std::filesystem::create_directories(options.stateFolder, ec);

    if (::pipe2(g_signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return 1;
    struct sigaction action{};
    action.sa_handler = onSignal;
    for (int s : {SIGINT, SIGTERM, SIGHUP, SIGUSR1}) ::sigaction(s, &action, nullptr);

    Program program;
    std::vector<std::string> earlyLog;
    TerminalDisplay* displayPtr = nullptr;
    for (int i = 0; i < options.count; ++i) {
        ControllerOptions c = controllerOptions(options, i);
        if (options.fresh && !c.stateFile.empty()) std::filesystem::remove(c.stateFile, ec);
        c.onLog = [&displayPtr](const std::string& line) {
            if (displayPtr) displayPtr->log(line);
        };
        auto started = VirtualController::start(c);
        for (const auto& w : started.warnings) std::fprintf(stderr, "virtual-controller: %s\n", w.c_str());
        if (!started.controller) {
            std::fprintf(stderr, "virtual-controller: %s\n", started.error.c_str());
            return 1;
        }
        const auto state = started.controller->state();
        std::printf("%s on %s (vendor 0x%04X, product 0x%04X), firmware %s, state %s\n", c.name.c_str(),
                    started.controller->devicePath().c_str(), kVendorId,
                    state.firmware == Firmware::BootLoader ? kBootLoaderProductId : kApplicationProductId,
                    firmware::versionText(state.targets.front().version()).c_str(),
                    c.stateFile.empty() ? "not kept" : c.stateFile.c_str());
        for (const auto& f : c.faults) std::printf("  fault %s\n", describeFaultRule(f).c_str());
        program.plain.push_back(started.controller.get());
        program.controllers.push_back(std::move(started.controller));
    }
    RawKeys keys;
    if (keys.active()) std::puts("Keys: b button, p profile, u unplug/plug, q quit.");
    std::fflush(stdout);
    program.display = std::make_unique<TerminalDisplay>(program.plain, ::isatty(STDOUT_FILENO) != 0);
    displayPtr = program.display.get();

#ifdef HALCYRA_SIMULATOR_WINDOW
    const std::optional<std::string> missingPlugin =
        options.window && displayAvailable() ? platform::MissingPlatformPlugin() : std::nullopt;
    if (missingPlugin) program.display->log("no LED window: " + *missingPlugin);
    if (options.window && displayAvailable() && !missingPlugin) {
        // A display that cannot be opened leaves Qt offscreen: the controller runs on the terminal alone.
        const bool fallbackAdded = platform::AllowOffscreenFallback();
        QApplication application(argc, argv);
        const bool windowSeen = !fallbackAdded || QGuiApplication::platformName() != QLatin1String("offscreen");
        if (!windowSeen) program.display->log("no LED window: the display cannot be opened");
        LedWindow window(program.plain);
        // Top right of the screen, where it stays beside a program window placed at the top left.
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->availableGeometry();
            window.move(area.right() - window.sizeHint().width() - 24, area.top() + 24);
        }
        if (windowSeen) window.show();
        QSocketNotifier signalNotifier(g_signalPipe[0], QSocketNotifier::Read);
        QObject::connect(&signalNotifier, &QSocketNotifier::activated, [&] {
            program.drainSignals();
            if (program.quit) application.quit();
        });
        std::unique_ptr<QSocketNotifier> keyNotifier;
        if (keys.active()) {
            keyNotifier = std::make_unique<QSocketNotifier>(STDIN_FILENO, QSocketNotifier::Read);
            QObject::connect(keyNotifier.get(), &QSocketNotifier::activated, [&] {
                program.drainKeys();
                if (program.quit) application.quit();
            });
        }
        if (!options.screenshot.empty()) {
            QTimer::singleShot(2000, &window, [&] {
                const bool saved = window.grab().save(QString::fromStdString(options.screenshot), "PNG");
                program.display->log(saved ? "window saved to " + options.screenshot
                                           : "cannot save the window to " + options.screenshot);
            });
        }
        QTimer refresh;
        QObject::connect(&refresh, &QTimer::timeout, [&] { program.display->refresh(); });
        refresh.start(50);
        application.exec();
        program.display->refresh();
        displayPtr = nullptr;
        program.controllers.clear();
        std::puts("stopped");
        return 0;
    }
#endif

    while (!program.quit) {
        pollfd fds[2] = {{g_signalPipe[0], POLLIN, 0}, {STDIN_FILENO, static_cast<short>(keys.active() ? POLLIN : 0), 0}};
        ::poll(fds, 2, 50);
        if (fds[0].revents & POLLIN) program.drainSignals();
        if (fds[1].revents & POLLIN) program.drainKeys();
        program.display->refresh();
    }
    displayPtr = nullptr;
    program.controllers.clear();  // leaves the bus and saves the state
    program.display.reset();
    std::puts("stopped");
    return 0;
}
