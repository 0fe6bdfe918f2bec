#include "TerminalDisplay.h"

#include "simulator/LedRenderer.h"

#include <cstdio>
#include <cstdlib>
#include <sys/ioctl.h>
#include <unistd.h>

namespace simulator::app {

std::string describeController(const ControllerState& state, bool onBus) {
    char mode[8];
    std::snprintf(mode, sizeof mode, "0x%02X", state.session.mode);
    const auto& target = state.targets.front();
    std::string text = !onBus ? "off the bus" : state.firmware == Firmware::BootLoader ? "boot loader" : "application";
    text += "  fw " + firmware::versionText(target.version());
    if (state.firmware == Firmware::Application) {
        text += "  profile " + std::to_string(state.live.currentProfile) + "  " +
                effectName(state.live.current().activeEffect[0]) + "  mode " + mode;
    } else {
        text += "  target " + std::to_string(state.session.selectedTarget) + "  write address " +
                std::to_string(state.targets[state.session.selectedTarget].writeAddress);
    }
    return text;
}

TerminalDisplay::TerminalDisplay(std::vector<VirtualController*> controllers, bool liveTerminal)
    : controllers_(std::move(controllers)), live_(liveTerminal), started_(std::chrono::steady_clock::now()),
      lastStatus_(controllers_.size()) {}

TerminalDisplay::~TerminalDisplay() {
    if (live_) std::fputs("\x1b[0m\n", stdout);
    std::fflush(stdout);
}

void TerminalDisplay::log(const std::string& line) {
    std::lock_guard lock(mutex_);
    pending_.push_back(line);
}

std::string TerminalDisplay::statusText(const VirtualController& controller, double seconds, LedColors& leds) const {
    std::string text;
    const std::string name = controller.options().name;
    leds = {};
    controller.inspect([&](const ControllerState& state, bool onBus) {
        text = name + ": " + describeController(state, onBus);
        if (onBus && state.firmware == Firmware::Application) leds = renderLeds(state.live.current(), seconds);
    });
    return text;
}

namespace {

// Two blanks, four blocks of three columns each followed by a blank, one more blank.
constexpr std::size_t kSwatchColumns = 2 + 4 * 4 + 1;

// The first `columns` characters of UTF-8 `text` (one column each; a character is never cut in two).
std::string firstColumns(const std::string& text, std::size_t columns) {
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool continuation = (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80;
        if (!continuation && characters++ == columns) return text.substr(0, i);
    }
    return text;
}

}  // namespace

std::string liveStatusLine(const LedColors& leds, const std::string& text, std::size_t columns) {
    if (columns < kSwatchColumns + 8) return firstColumns(text, columns);
    std::string line = "  ";
    for (const auto& led : leds) {
        char cell[64];
        std::snprintf(cell, sizeof cell, "\x1b[38;2;%d;%d;%dm\u2588\u2588\u2588\x1b[0m ", led.r, led.g, led.b);
        line += cell;
    }
    return line + " " + firstColumns(text, columns - kSwatchColumns);
}

std::size_t liveLineColumns(int fd) {
    winsize size{};
    std::size_t width = 0;
    if (::ioctl(fd, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) width = size.ws_col;
    if (width == 0) {
        const char* columns = std::getenv("COLUMNS");
        width = columns ? std::strtoul(columns, nullptr, 10) : 0;
    }
    if (width == 0) width = 80;
    return width - 1;
}

void TerminalDisplay::refresh() {
    std::vector<std::string> lines;
    {
        std::lock_guard lock(mutex_);
        lines.swap(pending_);
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count();
    if (live_) {
        // Move up over the status lines, print the log lines in their place, then redraw the statuses.
        for (std::size_t i = 0; i < drawnLines_; ++i) std::fputs("\x1b[1A\r\x1b[2K", stdout);
        for (const auto& line : lines) std::printf("%s\n", line.c_str());
        const std::size_t columns = liveLineColumns(STDOUT_FILENO);
        for (const auto* c : controllers_) {
            LedColors leds{};
            const std::string text = statusText(*c, seconds, leds);
            std::printf("\r\x1b[2K%s\n", liveStatusLine(leds, text, columns).c_str());
        }
        drawnLines_ = controllers_.size();
    } else {
        for (const auto& line : lines) std::printf("%s\n", line.c_str());
        for (std::size_t i = 0; i < controllers_.size(); ++i) {
            LedColors leds{};
            std::string status = statusText(*controllers_[i], seconds, leds);
            if (status == lastStatus_[i]) continue;
            lastStatus_[i] = status;
            // The LEDs as hexadecimal colours at this moment.
            std::string hex;
            for (const auto& led : leds) {
                char cell[16];
                std::snprintf(cell, sizeof cell, " #%02x%02x%02x", led.r, led.g, led.b);
                hex += cell;
            }
            std::printf("%s  LEDs%s\n", status.c_str(), hex.c_str());
        }
    }
    std::fflush(stdout);
}

}  // namespace simulator::app
