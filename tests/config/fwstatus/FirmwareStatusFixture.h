// A virtual controller on a private bus, a link to it, the built updater with its package, and a sink
// that records the package's read messages.
#pragma once

#include "FirmwareCheck.h"
#include "IAP_CUSBDriver.h"
#include "UpdaterLaunch.h"
#include "LinkTestSupport.h"

#include "simulator/VirtualController.h"

#include <vector>

namespace fwstatus_test {

class RecordingSink final : public firmware::PackageMessageSink {
public:
    void show(firmware::PackageMessage message) override { messages.push_back(message); }
    std::vector<firmware::PackageMessage> messages;
};

// Failed record queries are not waited for.
inline const fwstatus::RecordRetries kQuickRetries{.tries = 2, .pause = std::chrono::milliseconds(0), .wait = {}};

// Records the updater starts and the failure messages of the updater launch.
struct LaunchRecorder {
    struct Start {
        QString program;
        QStringList arguments;
    };
    std::vector<Start> starts;
    std::vector<QString> failures;
    bool startSucceeds = true;

    fwstatus::UpdaterLaunchHooks Hooks() {
        return {.start = [this](const QString& program,
                                const QStringList& arguments) {
                    starts.push_back({program, arguments});
                    return startSucceeds;
                },
                .reportFailure = [this](QWidget*, const QString& message) { failures.push_back(message); }};
    }
};

class FirmwareStatusFixture : public config_test::LinkFixture {
protected:
    void TearDown() override {
        StopController();
        LinkFixture::TearDown();
    }

    void StopController() {
        links_.clear();
        controller_.reset();
    }

    // Puts a controller with fresh firmware `version` on the test's bus.
    simulator::VirtualController& StartVirtualController(firmware::Version version, bool inBootLoader) {
        simulator::ControllerOptions options;
        options.busFolder = bus_;
        options.startInBootLoader = inBootLoader;
        options.targets.front().freshVersion = version;
        auto started = simulator::VirtualController::start(options);
        EXPECT_TRUE(started.controller) << started.error;
        controller_ = std::move(started.controller);
        return *controller_;
    }

    // Starts the controller (fresh firmware 1.0.100 unless `version` says otherwise) and opens the
    // link that serves its mode.
    config::CUSBDriver& StartController(firmware::Version version = {1, 0, 100}, bool inBootLoader = false) {
        StartVirtualController(version, inBootLoader);
        config::CUSBDriver& link =
            inBootLoader ? static_cast<config::CUSBDriver&>(MakeLink<config::IAP_CUSBDriver>()) : MakeLink();
        EXPECT_TRUE(link.OpenDevice());
        return link;
    }

    static std::filesystem::path Updater() { return TESSAFLASH_PROGRAM; }

    std::unique_ptr<simulator::VirtualController> controller_;
    RecordingSink sink_;
};

}  // namespace fwstatus_test
