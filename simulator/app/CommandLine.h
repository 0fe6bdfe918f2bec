// Options of the virtual-controller program.
#pragma once

#include "simulator/VirtualController.h"

#include <optional>
#include <string>
#include <vector>

namespace simulator::app {

struct ProgramOptions {
    std::string busFolder;
    std::string name = "virtual-controller";
    int count = 1;
    int targets = 1;
    std::string stateFolder;   // empty with noState
    bool noState = false;
    bool fresh = false;
    bool bootLoader = false;
    std::optional<firmware::Version> firmware;  // the factory firmware of the controller
    bool usbTiming = false;
    bool window = true;
    int replugMs = 300;
    std::vector<FaultRule> faults;
    std::string screenshot;   // with a window: save a picture of it after a moment
    bool help = false;
};

struct ParsedCommandLine {
    std::optional<ProgramOptions> options;
    std::string error;
};

ParsedCommandLine parseCommandLine(const std::vector<std::string>& args);
std::string usageText();

// The options of controller i (0-based) of the program.
ControllerOptions controllerOptions(const ProgramOptions& program, int i);

}  // namespace simulator::app
