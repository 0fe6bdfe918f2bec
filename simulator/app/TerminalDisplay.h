// The terminal view of the running controllers: one live status line per controller with its four
// LEDs in true colour, and log lines above. On a pipe it prints a line only when a status changes.
#pragma once

#include "simulator/LedRenderer.h"
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
    // The controller's description and, in `leds`, its LEDs at `seconds` (dark unless it runs its
    // application firmware on the bus).
    std::string statusText(const VirtualController& controller, double seconds, LedColors& leds) const;

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

// The live line of one controller: its four LEDs as true-colour blocks, then `text`, cut so that the
// line takes at most `columns` terminal columns (a line that wrapped would push the redraw down a row
// each time). Without room for the blocks only the text is shown.
std::string liveStatusLine(const LedColors& leds, const std::string& text, std::size_t columns);

// The columns a live line may take on terminal `fd`: one less than its width, so that the cursor never
// moves past the last column; from $COLUMNS, else 80, when the terminal does not tell.
std::size_t liveLineColumns(int fd);

}  // namespace simulator::app
