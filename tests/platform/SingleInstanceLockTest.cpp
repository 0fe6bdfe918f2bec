#include "SingleInstanceLock.h"

#include "ScopedEnvironment.h"
#include "TemporaryFolder.h"

#include <QProcess>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

extern char** environ;

namespace {

using platform::SingleInstanceLock;
using Outcome = platform::SingleInstanceLock::Outcome;

constexpr const char* kLockName = "Quillon_Halcyra_configure";

class SingleInstanceLockTest : public testing::Test {
protected:
    void SetUp() override { environment_.Set("XDG_RUNTIME_DIR", runtime_.Path()); }

    // What a second process sees when it tries the lock: 0 taken, 1 held elsewhere, 2 unavailable.
    static int TryInAnotherProcess(const char* name) {
        QProcess probe;
        probe.start(PLATFORM_LOCK_PROBE_PATH, {"try", name});
        EXPECT_TRUE(probe.waitForFinished(30000));
        return probe.exitStatus() == QProcess::NormalExit ? probe.exitCode() : -1;
    }

    platform_test::TemporaryFolder runtime_;
    platform_test::ScopedEnvironment environment_;
};

TEST_F(SingleInstanceLockTest, OneHolderPerNameWithinAProcess) {
    SingleInstanceLock first;
    EXPECT_EQ(first.LastOutcome(), Outcome::NotTried);
    ASSERT_TRUE(first.Acquire(kLockName));
    EXPECT_TRUE(first.Held());
    EXPECT_EQ(first.LastOutcome(), Outcome::Acquired);
    EXPECT_TRUE(std::filesystem::is_regular_file(runtime_.File(kLockName)));

    {
        SingleInstanceLock second;  // its own open of the file, so flock keeps it out
        EXPECT_FALSE(second.Acquire(kLockName));
        EXPECT_FALSE(second.Held());
        EXPECT_EQ(second.LastOutcome(), Outcome::HeldElsewhere);
        SingleInstanceLock otherName;
        EXPECT_TRUE(otherName.Acquire("VORANTH_FW_UPDATE_MUTEX"));
    }

    first.Release();
    EXPECT_FALSE(first.Held());
    {
        SingleInstanceLock third;
        EXPECT_TRUE(third.Acquire(kLockName));
    }
    SingleInstanceLock afterDestruction;  // the destructor of `third` gave the lock up
    EXPECT_TRUE(afterDestruction.Acquire(kLockName));
}

TEST_F(SingleInstanceLockTest, ReacquiringTheSameNameKeepsTheLock) {
    SingleInstanceLock lock;
    ASSERT_TRUE(lock.Acquire(kLockName));
    EXPECT_TRUE(lock.Acquire(kLockName));
    EXPECT_EQ(TryInAnotherProcess(kLockName), 1);
}

TEST_F(SingleInstanceLockTest, AnotherProcessIsKeptOutWhileTheLockIsHeld) {
    EXPECT_EQ(TryInAnotherProcess(kLockName), 0);  // nobody holds it yet
    SingleInstanceLock lock;
    ASSERT_TRUE(lock.Acquire(kLockName));
    EXPECT_EQ(TryInAnotherProcess(kLockName), 1);
    lock.Release();
    EXPECT_EQ(TryInAnotherProcess(kLockName), 0);
}

TEST_F(SingleInstanceLockTest, TheLockEndsWithItsProcessEvenWhenKilled) {
    QProcess holder;
    holder.start(PLATFORM_LOCK_PROBE_PATH, {"hold", kLockName});
    ASSERT_TRUE(holder.waitForStarted(30000));
    ASSERT_TRUE(holder.waitForReadyRead(30000));
    EXPECT_EQ(holder.readAllStandardOutput().trimmed(), "acquired");

    SingleInstanceLock lock;
    EXPECT_FALSE(lock.Acquire(kLockName));
    EXPECT_EQ(lock.LastOutcome(), Outcome::HeldElsewhere);

    holder.kill();
    ASSERT_TRUE(holder.waitForFinished(30000));
    EXPECT_TRUE(lock.Acquire(kLockName));
}

// The configuration program starts the updater, which may start it again: a lock inherited by the
// started program would make the restarted copy think another one is running.
TEST_F(SingleInstanceLockTest, ProgramsStartedByTheHolderDoNotInheritTheLock) {
    SingleInstanceLock lock;
    ASSERT_TRUE(lock.Acquire(kLockName));
    pid_t child = -1;
    char program[] = "/bin/sleep";
    char seconds[] = "30";
    char* arguments[] = {program, seconds, nullptr};
    // The child holds a copy of every descriptor until it has started the new program. A
    // close-on-exec pipe tells when that has happened: its write end, closed here, closes in the
    // child at the same moment, and reading then sees the end of the pipe.
    int execSeen[2];
    ASSERT_EQ(pipe2(execSeen, O_CLOEXEC), 0);
    ASSERT_EQ(posix_spawn(&child, program, nullptr, nullptr, arguments, environ), 0);
    close(execSeen[1]);
    char ignored;
    while (read(execSeen[0], &ignored, 1) < 0 && errno == EINTR) {
    }
    close(execSeen[0]);

    lock.Release();
    SingleInstanceLock restarted;
    EXPECT_TRUE(restarted.Acquire(kLockName));

    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
}

TEST_F(SingleInstanceLockTest, NamesThatAreNotFileNamesAreRefused) {
    const std::string names[] = {"", ".", "..", "a/b", "../escape", std::string("nul\0name", 8)};
    for (const std::string& name : names) {
        SingleInstanceLock lock;
        EXPECT_FALSE(lock.Acquire(name)) << testing::PrintToString(name);
        EXPECT_EQ(lock.LastOutcome(), Outcome::Unavailable) << testing::PrintToString(name);
    }
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(runtime_.Path()).parent_path() / "escape"));
}

TEST_F(SingleInstanceLockTest, AMissingRuntimeFolderMakesTheLockUnavailable) {
    environment_.Set("XDG_RUNTIME_DIR", runtime_.File("missing"));
    SingleInstanceLock lock;
    EXPECT_FALSE(lock.Acquire(kLockName));
    EXPECT_EQ(lock.LastOutcome(), Outcome::Unavailable);
    EXPECT_EQ(TryInAnotherProcess(kLockName), 2);
}

}  // namespace
