#include "ProgramProcess.h"

#include "TemporaryFolder.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <thread>

extern char** environ;

namespace program_test {

namespace {

// The NUL-separated words of a /proc file.
std::vector<std::string> ProcWords(pid_t pid, const char* file) {
    const std::string text = platform_test::ReadFileText("/proc/" + std::to_string(pid) + "/" + file);
    std::vector<std::string> words;
    std::string::size_type start = 0;
    for (std::string::size_type end; (end = text.find('\0', start)) != std::string::npos; start = end + 1) {
        words.push_back(text.substr(start, end - start));
    }
    return words;
}

std::vector<char*> Pointers(std::vector<std::string>& words) {
    std::vector<char*> pointers;
    for (std::string& word : words) pointers.push_back(word.data());
    pointers.push_back(nullptr);
    return pointers;
}

}  // namespace

std::vector<std::string> CommandLineOf(pid_t pid) { return ProcWords(pid, "cmdline"); }

std::vector<pid_t> ProcessesWith(const std::string& variable) {
    std::vector<pid_t> found;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) continue;
        const pid_t pid = static_cast<pid_t>(std::stol(name));
        if (pid == ::getpid()) continue;
        for (const std::string& word : ProcWords(pid, "environ")) {
            if (word == variable) {
                found.push_back(pid);
                break;
            }
        }
    }
    return found;
}

int WaitForExit(pid_t pid, std::chrono::milliseconds deadline) {
    const auto end = std::chrono::steady_clock::now() + deadline;
    for (;;) {
        int status = 0;
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        if (done < 0) return -1;
        if (std::chrono::steady_clock::now() > end) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

Process::Process(const std::string& program, const std::vector<std::string>& arguments, const std::string& folder,
                 const std::vector<std::string>& environment)
    : outputFile_(folder + "/stdout-" + std::to_string(reinterpret_cast<std::uintptr_t>(this)) + ".txt"),
      errorFile_(folder + "/stderr-" + std::to_string(reinterpret_cast<std::uintptr_t>(this)) + ".txt") {
    std::vector<std::string> words{program};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<std::string> variables = environment;
    std::vector<char*> argv = Pointers(words);
    std::vector<char*> envp = Pointers(variables);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outputFile_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, errorFile_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (::posix_spawnp(&pid_, program.c_str(), &actions, nullptr, argv.data(),
                      environment.empty() ? environ : envp.data()) != 0) {
        pid_ = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
}

Process::~Process() {
    if (pid_ > 0 && !exitCode_) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
}

int Process::Wait(std::chrono::milliseconds deadline) {
    if (!exitCode_) exitCode_ = pid_ > 0 ? WaitForExit(pid_, deadline) : -1;
    return *exitCode_;
}

std::string Process::Output() const { return platform_test::ReadFileText(outputFile_); }
std::string Process::Errors() const { return platform_test::ReadFileText(errorFile_); }

DescendantGuard::DescendantGuard(std::string variable) : variable_(std::move(variable)) {
    ::prctl(PR_SET_CHILD_SUBREAPER, 1);
}

DescendantGuard::~DescendantGuard() {
    for (const pid_t pid : ProcessesWith(variable_)) ::kill(pid, SIGKILL);
    // Reap what has ended: the killed ones and those that ended by themselves (the updater).
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!ProcessesWith(variable_).empty() && std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    while (::waitpid(-1, nullptr, WNOHANG) > 0) {
    }
    ::prctl(PR_SET_CHILD_SUBREAPER, 0);
}

}  // namespace program_test
