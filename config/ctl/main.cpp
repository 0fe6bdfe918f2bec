// halcyractl: the lighting controller from the command line (see CtlCommandLine.cpp for the help and
// CtlExitCodes.h for the exit codes).
//
// The device-access library and the controller link write diagnostic lines ("MONITOROPEN:...") on
// standard error; they are dropped unless HALCYRACTL_DEBUG is set, so that standard error carries only
// this program's own messages.
#include "CtlCommands.h"

#include <QCoreApplication>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

namespace {

// A stream on the original standard error, for the program's messages, while descriptor 2 goes to
// /dev/null; standard error itself when the diagnostics are wanted or cannot be moved.
std::FILE* MessagesStream() {
    const char* debug = std::getenv("HALCYRACTL_DEBUG");
    if (debug != nullptr && *debug != '\0') return stderr;
    const int original = ::fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 3);
    const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    std::FILE* messages = original >= 0 ? ::fdopen(original, "w") : nullptr;
    if (messages == nullptr || null < 0 || ::dup2(null, STDERR_FILENO) < 0) {
        if (messages != nullptr) std::fclose(messages);
        if (null >= 0) ::close(null);
        return stderr;
    }
    ::close(null);
    std::setvbuf(messages, nullptr, _IOLBF, 0);
    return messages;
}

}  // namespace

int main(int argc, char** argv) {
    std::FILE* messages = MessagesStream();
    QCoreApplication app(argc, argv);
    const std::vector<std::string_view> words(argv + 1, argv + argc);
    const int code = ctl::RunCommandLine(words, stdout, messages);
    std::fflush(stdout);
    std::fflush(messages);
    return code;
}
