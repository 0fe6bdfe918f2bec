#include "TerminalDisplay.h"

#include "simulator/LedRenderer.h"

#include <cstdio>

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

std::string TerminalDisplay::statusText(const VirtualController& controller, bool withLeds, double seconds) const {
    std::string text;
    bool application = false;
    LedColors leds{};
    const std::string name = controller.options().name;
    controller.inspect([&](const ControllerState& state, bool onBus) {
        text = name + ": " + describeController(state, onBus);
        application = onBus && state.firmware == Firmware::Application;
        leds = renderLeds(state.live.current(), seconds);
    });
    if (!application) leds = {};
    if (!withLeds) return text;
    std::string swatches = "  ";
    for (const auto& led : leds) {
        char cell[64];
        std::snprintf(cell, sizeof cell, "\x1b[38;2;%d;%d;%dm\u2588\u2588\u2588\x1b[0m ", led.r, led.g, led.b);
        swatches += cell;
    }
    return swatches + " " + text;
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
        for (const auto* c : controllers_) std::printf("\r\x1b[2K%s\n", statusText(*c, true, seconds).c_str());
        drawnLines_ = controllers_.size();
    } else {
        for (const auto& line : lines) std::printf("%s\n", line.c_str());
        for (std::size_t i = 0; i < controllers_.size(); ++i) {
            std::string status = statusText(*controllers_[i], false, seconds);
            if (status == lastStatus_[i]) continue;
            lastStatus_[i] = status;
            // The LEDs as hexadecimal colours at this moment.
            LedColors leds{};
            controllers_[i]->inspect([&](const ControllerState& s, bool onBus) {
                if (onBus && s.firmware == Firmware::Application) leds = renderLeds(s.live.current(), seconds);
            });
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
