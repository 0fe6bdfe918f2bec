#include "Startup.h"

#include "DebugLog.h"
#include "DebugLogText.h"
#include "ScopedEnvironment.h"
#include "SingleInstanceLock.h"
#include "TemporaryFolder.h"

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <array>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {

// A companion bound to its socket in a private runtime folder, and a private desktop for the log.
class StartupTest : public ::testing::Test {
protected:
    void SetUp() override {
        environment_.Set("XDG_RUNTIME_DIR", folder_.Path());
        environment_.Set("XDG_DESKTOP_DIR", folder_.Path());
        socket_ = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        ASSERT_GE(socket_, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const std::string path = folder_.File("Quillon_Halcyra_Hid");
        std::strncpy(address.sun_path, path.c_str(), sizeof(address.sun_path) - 1);
        ASSERT_EQ(bind(socket_, reinterpret_cast<const sockaddr*>(&address), sizeof(address)), 0);
        config::g_debugLog = false;
    }
    void TearDown() override {
        close(socket_);
        config::g_debugLog = false;
    }

    // The lParam of every notice received so far, in order (all must be message 2929, wParam 0).
    std::vector<std::int64_t> Notices() {
        std::vector<std::int64_t> lParams;
        std::array<std::uint8_t, 64> datagram{};
        for (ssize_t size; (size = recv(socket_, datagram.data(), datagram.size(), MSG_DONTWAIT)) > 0;) {
            EXPECT_EQ(size, 24);
            std::uint64_t fields[3];
            std::memcpy(fields, datagram.data(), sizeof(fields));
            EXPECT_EQ(fields[0], 2929u);
            EXPECT_EQ(fields[1], 0u);
            lParams.push_back(static_cast<std::int64_t>(fields[2]));
        }
        return lParams;
    }

    platform_test::TemporaryFolder folder_;
    platform_test::ScopedEnvironment environment_;
    int socket_ = -1;
};

TEST_F(StartupTest, NoticesAroundTheMainWindowAndTheChosenFolder) {
    platform::SingleInstanceLock lock;
    const std::vector<std::string> words = {"nodev", "ui:1"};
    int screenAsked = 0;
    std::optional<std::string> folder;
    std::vector<std::int64_t> beforeClose;
    const bool ran = config::RunStartup(
        words, lock, [&] { return ++screenAsked, 3840; },
        [&](const config::StartupOptions& options, const std::string& resolutionFolder) {
            EXPECT_FALSE(options.deviceRequired);
            folder = resolutionFolder;
            beforeClose = Notices();
        });
    EXPECT_TRUE(ran);
    EXPECT_EQ(folder, "1366x768/");
    EXPECT_EQ(screenAsked, 0);  // "ui:" chose the folder
    EXPECT_EQ(beforeClose, std::vector<std::int64_t>{1});
    EXPECT_EQ(Notices(), std::vector<std::int64_t>{0});
    EXPECT_TRUE(lock.Held());
}

TEST_F(StartupTest, ScreenWidthChoosesWithoutUi) {
    platform::SingleInstanceLock lock;
    std::string folder;
    config::RunStartup({}, lock, [] { return 1921; },
                       [&](const config::StartupOptions&, const std::string& chosen) { folder = chosen; });
    EXPECT_EQ(folder, "1920x1080/");
}

TEST_F(StartupTest, SecondCopyLeavesNoTrace) {
    platform::SingleInstanceLock first;
    ASSERT_TRUE(first.Acquire(config::kSingleInstanceName));
    platform::SingleInstanceLock second;
    const std::vector<std::string> words = {"debug"};
    bool ran = false;
    EXPECT_FALSE(config::RunStartup(words, second, [] { return 1920; },
                                    [&](const config::StartupOptions&, const std::string&) { ran = true; }));
    EXPECT_FALSE(ran);
    EXPECT_FALSE(config::g_debugLog);  // read after the lock test
    EXPECT_TRUE(Notices().empty());
}

TEST_F(StartupTest, DebugWordSwitchesTheLogOnBeforeTheMainWindow) {
    platform::SingleInstanceLock lock;
    const std::vector<std::string> words = {"Debug"};
    bool logOnInWindow = false;
    config::RunStartup(words, lock, [] { return 1920; },
                       [&](const config::StartupOptions&, const std::string&) { logOnInWindow = config::g_debugLog; });
    EXPECT_TRUE(logOnInWindow);
    EXPECT_NE(shell_test::DebugLogText().find("App Init"), std::string::npos);
}

}  // namespace
