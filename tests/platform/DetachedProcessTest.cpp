#include "DetachedProcess.h"

#include "TemporaryFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

namespace {

// The text of a file another process writes, once its writer has renamed it into place.
std::string WaitForFile(const std::string& path) {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!std::filesystem::exists(path) && std::chrono::steady_clock::now() < giveUp) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return platform_test::ReadFileText(path);
}

TEST(StartDetached, RunsTheProgramInTheWorkingFolderWithItsArgumentsUntouched) {
    platform_test::TemporaryFolder folder;
    const QString argument = QStringLiteral("true \"../halcyra\" $HOME;*");
    // Writes to a temporary name first so the test never reads a half-written file.
    ASSERT_TRUE(platform::StartDetached(
        "/bin/sh", {"-c", "printf '%s\\n%s' \"$(pwd)\" \"$1\" > out.tmp && mv out.tmp out", "sh", argument},
        QString::fromStdString(folder.Path())));
    EXPECT_EQ(WaitForFile(folder.File("out")), folder.Path() + "\n" + argument.toStdString());
}

TEST(StartDetached, ReportsAProgramThatCannotStart) {
    platform_test::TemporaryFolder folder;
    EXPECT_FALSE(platform::StartDetached(QString::fromStdString(folder.File("no-such-program")), {}));
    EXPECT_FALSE(platform::StartDetached("/bin/sh", {"-c", "true"}, QString::fromStdString(folder.File("missing"))));
}

}  // namespace
