// A second process for the single-instance lock tests.
//
//   platform_lock_probe try <name>    exits 0 when it could take the lock, 1 when it is held
//                                     elsewhere, 2 when it cannot be taken
//   platform_lock_probe hold <name>   takes the lock, prints "acquired" or "busy", then keeps it
//                                     until its standard input ends
#include "SingleInstanceLock.h"

#include <cstdio>
#include <cstring>

namespace {

int ExitCode(platform::SingleInstanceLock::Outcome outcome) {
    switch (outcome) {
        case platform::SingleInstanceLock::Outcome::Acquired:
            return 0;
        case platform::SingleInstanceLock::Outcome::HeldElsewhere:
            return 1;
        default:
            return 2;
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: platform_lock_probe try|hold <name>\n", stderr);
        return 3;
    }
    platform::SingleInstanceLock lock;
    lock.Acquire(argv[2]);
    if (std::strcmp(argv[1], "hold") == 0) {
        std::puts(lock.Held() ? "acquired" : "busy");
        std::fflush(stdout);
        while (std::getchar() != EOF) {
        }
    }
    return ExitCode(lock.LastOutcome());
}
