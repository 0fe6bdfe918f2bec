// How the updater's process ends. Codes 0-3 are the outcome of an update as scripts and the
// configuration program know them; the codes from 4 up are failures and refusals that the updater
// shows in a window when it has one, and that a run without a window reports this way, so that no
// failure ever ends with 0.
#pragma once

namespace updater {

enum ExitCode : int {
    kExitSuccess = 0,            // updated (silent), the window closed normally, or the help was printed
    kExitFlashingFailed = 1,     // flashing failed, or the controller never came up in its boot loader
    kExitNoController = 2,       // no controller at start, or none settled within the wait of a run without a window
    kExitNoFittingImage = 3,     // no fitting image, hardware signature mismatch, records unavailable, empty image
    kExitFirmwareCurrent = 4,    // refused: the controller's firmware is not older and nothing forced the update
    kExitPackageUnreadable = 5,  // the updater's own file cannot be read or carries no package
    kExitAlreadyRunning = 6,     // another updater holds the single-instance lock
    kExitNoWindow = 7,           // a window was asked for, but Qt has no platform plugin to show it on
};

}  // namespace updater
