#include "TerminationSignals.h"

#include <QSocketNotifier>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>

namespace config {

namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

// The pipe between the handler and the event loop; made once and never closed, so the handler never
// writes to a descriptor that has been closed or reused.
int g_pipe[2] = {-1, -1};

extern "C" void OnTerminationSignal(int number) {
    const int savedErrno = errno;
    const char byte = static_cast<char>(number);
    // Non-blocking: when the pipe is full, signals are already waiting to be handled.
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[1], &byte, 1);
    errno = savedErrno;
}

bool MakePipe() {
    return g_pipe[0] >= 0 || ::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) == 0;
}

}  // namespace

TerminationSignals::TerminationSignals(std::function<void()> onTermination)
    : onTermination_(std::move(onTermination)) {
    if (!MakePipe()) return;
    notifier_ = std::make_unique<QSocketNotifier>(g_pipe[0], QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(), [this] { Drain(); });
    struct sigaction action {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    installed_ = true;
    for (const int number : kSignals) installed_ = ::sigaction(number, &action, nullptr) == 0 && installed_;
}

TerminationSignals::~TerminationSignals() {
    // The handlers stay: a signal from now on only writes into the pipe, which nobody reads any more,
    // and the program ends as it was about to.
    notifier_.reset();
}

void TerminationSignals::Drain() {
    char bytes[64];
    bool any = false;
    for (ssize_t n; (n = ::read(g_pipe[0], bytes, sizeof bytes)) != 0;) {
        if (n > 0) {
            any = true;
        } else if (errno != EINTR) {
            break;  // EAGAIN: drained
        }
    }
    if (any && onTermination_) onTermination_();
}

}  // namespace config
