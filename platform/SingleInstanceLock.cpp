#include "SingleInstanceLock.h"

#include "RuntimeFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

SingleInstanceLock::~SingleInstanceLock() { Release(); }

bool SingleInstanceLock::Acquire(std::string_view name) {
    Release();
    const auto path = RuntimeFilePath(name);
    if (!path) {
        outcome_ = Outcome::Unavailable;
        return false;
    }
    const int fd = open(path->c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        outcome_ = Outcome::Unavailable;
        return false;
    }
    int result;
    do {
        result = flock(fd, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        outcome_ = errno == EWOULDBLOCK ? Outcome::HeldElsewhere : Outcome::Unavailable;
        close(fd);
        return false;
    }
    fd_ = fd;
    outcome_ = Outcome::Acquired;
    return true;
}

void SingleInstanceLock::Release() {
    if (fd_ >= 0) {
        // The lock file stays: were it removed, a process that had opened the old file just before
        // could lock it while another locks a new file of the same name, and both would run.
        close(fd_);
        fd_ = -1;
    }
}

}  // namespace platform
