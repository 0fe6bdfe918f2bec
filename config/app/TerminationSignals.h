// Ends the configuration program gracefully when the session asks it to: SIGTERM (logout, kill),
// SIGINT (Ctrl-C in a terminal) and SIGHUP (the terminal went away).
//
// The signal handler only writes the signal's number into a pipe (write(2) is safe in a signal
// handler); the pipe's read end is watched by a QSocketNotifier, so the program reacts on its
// user-interface thread, between two events, as if the person had closed the window. The pipe and
// the handler stay for the life of the process, so a signal that arrives before the window exists
// waits in the pipe, and one that arrives while the program is already ending is harmless.
#pragma once

#include <functional>
#include <memory>

class QSocketNotifier;

namespace config {

class TerminationSignals {
public:
    // Installs the handlers; `onTermination` runs on this thread's event loop, once per batch of
    // signals that arrived. Needs the Qt application object. Only one object may exist at a time.
    explicit TerminationSignals(std::function<void()> onTermination);
    ~TerminationSignals();
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    // False when the pipe or a handler could not be set up (the signals then keep their default action).
    bool Installed() const { return installed_; }

private:
    void Drain();

    std::function<void()> onTermination_;
    std::unique_ptr<QSocketNotifier> notifier_;
    bool installed_ = false;
};

}  // namespace config
