// What the benchmarks of the controller link and the lighting transfer share: one virtual controller in
// USB-like timing on a private bus, the device library bound by ordinal, and a Qt core application for the
// link's messages.
#pragma once

#include "TarnlinkApi.h"
#include "simulator/VirtualController.h"

#include <memory>
#include <string>

namespace bench {

struct VirtualControllerSession {
    std::string bus;
    config::TarnlinkApi api;
    std::unique_ptr<simulator::VirtualController> controller;
};

// The session the running benchmarks use; filled by RunWithVirtualController.
VirtualControllerSession& Session();

// Sets up the session, runs the registered benchmarks and cleans up; the program's exit code.
int RunWithVirtualController(int argc, char** argv, const char* programName);

}  // namespace bench
