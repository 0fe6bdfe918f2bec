// How halcyractl ends. Scripts can tell every kind of failure apart; nothing that failed ends with 0.
#pragma once

namespace ctl {

enum ExitCode : int {
    kExitOk = 0,                    // done (or the help was printed)
    kExitControllerFailed = 1,      // the controller did not answer a command; a failed read changes nothing
    kExitUsage = 2,                 // unknown command or option, a missing or extra argument
    kExitInvalidValue = 3,          // unknown effect, colour not RRGGBB, speed, brightness or LED out of
                                    // range, an option the effect does not have
    kExitFileError = 4,             // the profile file cannot be read, is no profile file, or cannot be written
    kExitNoController = 5,          // no controller is plugged in
    kExitAccessDenied = 6,          // a controller is plugged in, but access to it was denied
    kExitConfigurationRunning = 7,  // the configuration program (or another halcyractl), or the firmware
                                    // updater, holds the controller
    kExitBootLoader = 8,            // the controller waits in its boot loader: only "list" works
};

}  // namespace ctl
