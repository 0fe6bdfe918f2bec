#include "RaiseRequest.h"

#include "CompanionNotifier.h"
#include "ScopedEnvironment.h"
#include "TemporaryFolder.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

using platform_test::ScopedEnvironment;
using platform_test::TemporaryFolder;

// Runs the event loop until `done` or two seconds have passed.
template <typename Done>
bool Within2s(Done done) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 2000) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

// A second start's request reaches the running copy, whatever else arrives on the socket; without a
// running copy it is dropped quietly, and a crashed copy's socket file does not stand in the way.
TEST(RaiseRequest, ReachesTheRunningCopyOnly) {
    TemporaryFolder runtime;
    ScopedEnvironment environment;
    environment.Set("XDG_RUNTIME_DIR", runtime.Path());
    const std::string socket = runtime.File("Halcyra_test.raise");

    EXPECT_FALSE(platform::RequestRaise("Halcyra_test")) << "nobody listens";

    std::ofstream(socket) << "";  // left behind by a copy that crashed
    int raised = 0;
    {
        platform::RaiseRequests listener("Halcyra_test", [&raised] { ++raised; });
        ASSERT_TRUE(listener.Listening());
        EXPECT_TRUE(platform::NotifyCompanion("Halcyra_test.raise", 2929, 0, 1));  // another message
        QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
        EXPECT_EQ(raised, 0);
        EXPECT_TRUE(platform::RequestRaise("Halcyra_test"));
        EXPECT_TRUE(Within2s([&] { return raised == 1; }));
        EXPECT_TRUE(platform::RequestRaise("Halcyra_test"));
        EXPECT_TRUE(Within2s([&] { return raised == 2; }));
    }
    EXPECT_FALSE(std::filesystem::exists(socket)) << "the listener removes its socket";
    EXPECT_FALSE(platform::RequestRaise("Halcyra_test"));
}

}  // namespace
