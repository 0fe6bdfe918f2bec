#include "VirtualControllerBench.h"

#include "tarnlink/tarnlink.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

#include <stdlib.h>

namespace bench {

VirtualControllerSession& Session() {
    static VirtualControllerSession session;
    return session;
}

int RunWithVirtualController(int argc, char** argv, const char* programName) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

    VirtualControllerSession& session = Session();
    std::string pattern = (std::filesystem::temp_directory_path() / (std::string(programName) + "-XXXXXX")).string();
    if (::mkdtemp(pattern.data()) == nullptr) return 1;
    session.bus = pattern;
    ::setenv("TARNLINK_BUS", session.bus.c_str(), 1);
    int qtArgc = 1;
    std::string name = programName;
    char* qtArgv[] = {name.data(), nullptr};
    QCoreApplication application(qtArgc, qtArgv);

    const auto api = config::BindTarnlinkByOrdinal(&TarnGetProcByOrdinal);
    simulator::ControllerOptions options;
    options.busFolder = session.bus;
    options.usbTiming = true;
    auto started = simulator::VirtualController::start(options);
    int result = 1;
    if (api && started.controller) {
        session.api = *api;
        session.controller = std::move(started.controller);
        benchmark::RunSpecifiedBenchmarks();
        result = 0;
    }
    benchmark::Shutdown();
    session.controller.reset();
    std::error_code ignored;
    std::filesystem::remove_all(session.bus, ignored);
    return result;
}

}  // namespace bench
