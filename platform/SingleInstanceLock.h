// Keeps a program to one running copy per user session.
//
// A lock is an exclusive flock on a file named after the lock's name in the runtime folder
// ($XDG_RUNTIME_DIR, or the temporary folder). The kernel drops it when the holder closes the file or
// ends in any way, a crash included, so no stale lock survives its process. The file is opened
// close-on-exec: programs started by the holder do not inherit the lock.
#pragma once

#include <string_view>

namespace platform {

class SingleInstanceLock {
public:
    enum class Outcome {
        NotTried,       // Acquire has not been called
        Acquired,       // this object holds the lock
        HeldElsewhere,  // another open of the file (another process, or another object) holds it
        Unavailable,    // the name is not a valid file name, or the lock file cannot be opened
    };

    SingleInstanceLock() = default;
    ~SingleInstanceLock();
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

    // Takes the lock called `name` (for example "Quillon_Halcyra_configure") without waiting. True
    // when this object now holds it; false when it is held elsewhere or cannot be taken (see
    // LastOutcome). A lock this object already holds is released first.
    bool Acquire(std::string_view name);

    // Gives the lock up; nothing happens when none is held.
    void Release();

    bool Held() const { return fd_ >= 0; }
    Outcome LastOutcome() const { return outcome_; }

private:
    int fd_ = -1;
    Outcome outcome_ = Outcome::NotTried;
};

}  // namespace platform
