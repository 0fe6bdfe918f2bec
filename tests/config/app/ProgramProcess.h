// The real halcyra (and what it starts) as processes of the test: starting one with the test's
// environment, waiting for its exit code with a deadline, finding the processes that run on the test's
// private bus, and ending every one of them however the test ends.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace program_test {

// Generous: only a failing test waits this long.
inline constexpr std::chrono::seconds kProcessDeadline{30};

// The words of a running process's command line (empty for a process that has ended).
std::vector<std::string> CommandLineOf(pid_t pid);

// The processes whose environment holds `variable` (for example "TARNLINK_BUS=/tmp/x/bus"), the test
// process excluded. A process that has ended and waits to be reaped is not listed.
std::vector<pid_t> ProcessesWith(const std::string& variable);

// Waits for child `pid` to end and returns its exit code; -1 when it was ended by a signal or was
// still running at the deadline (then it is killed and reaped).
int WaitForExit(pid_t pid, std::chrono::milliseconds deadline = kProcessDeadline);

// One started program: its standard output and error go to files in `folder`.
class Process {
public:
    // `program` without a '/' is looked up in PATH; `environment` empty: the test's own environment.
    Process(const std::string& program, const std::vector<std::string>& arguments, const std::string& folder,
            const std::vector<std::string>& environment = {});
    // Kills the program if it still runs.
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    pid_t Pid() const { return pid_; }
    bool Started() const { return pid_ > 0; }
    int Wait(std::chrono::milliseconds deadline = kProcessDeadline);
    std::string Output() const;
    std::string Errors() const;

private:
    pid_t pid_ = -1;
    std::optional<int> exitCode_;
    std::string outputFile_;
    std::string errorFile_;
};

// Makes this process the reaper of the processes its children leave behind (the updater started
// detached, the program the updater starts), so that their exit codes reach it; and, when it goes,
// kills every process still running with `variable` in its environment and reaps what it can.
class DescendantGuard {
public:
    explicit DescendantGuard(std::string variable);
    ~DescendantGuard();
    DescendantGuard(const DescendantGuard&) = delete;
    DescendantGuard& operator=(const DescendantGuard&) = delete;

private:
    std::string variable_;
};

}  // namespace program_test
