// The terminal view of the running controllers: one live status line per controller with its four
// LEDs in true colour, and log lines above. On a pipe it prints a line only when a status changes.
#pragma once

#include "simulator/VirtualController.h"

#include <chrono>
#include <mutex>
#include <string>
#include <vector>

namespace simulator::app {

class TerminalDisplay {
public:
    TerminalDisplay(std::vector<VirtualController*> controllers, bool liveTerminal);
    ~TerminalDisplay();

    // Any thread: queues a line for the next refresh.
    void log(const std::string& line);
    // Main thread: prints queued lines and redraws the status lines.
    void refresh();

private:
    std::string statusText(const VirtualController& controller, bool withLeds, double seconds) const;

    std::vector<VirtualController*> controllers_;
    bool live_;
    std::chrono::steady_clock::time_point started_;
    std::size_t drawnLines_ = 0;
    std::vector<std::string> lastStatus_;
    std::mutex mutex_;
    std::vector<std::string> pending_;
};

// One line describing a controller's state (firmware, version, profile, effect, mode).
std::string describeController(const ControllerState& state, bool onBus);

}  // namespace simulator::app
