// How the updater's process ends. Codes 0-3 are the outcome of an update as scripts and the
// configuration program know them; the codes from 4 up are further refusals and failures, so that no
// failure ever ends with 0.
//
// A run without a window (-silent, or no display) ends with the code of its outcome, any of them.
// A run with the window shows refusals and failures to the person instead and ends, when the window
// closes, with 0 (updated, or closed without a failed update), 1 (the last update attempt failed),
// 5 (the package is unreadable: nothing was shown but its message) or 6 (another updater runs).
#pragma once

namespace updater {

enum ExitCode : int {
    kExitSuccess = 0,            // updated, the window closed without a failed update, or help/versions printed
    kExitFlashingFailed = 1,     // flashing failed, the controller never came up in its boot loader or
                                 // came back in its application firmware instead, it did not start the
                                 // new firmware after flashing, or a second controller kept the run from
                                 // telling which controller it updated
    kExitNoController = 2,       // no controller at start, or none settled within the wait of a run without a window
    kExitNoFittingImage = 3,     // no fitting image, hardware signature mismatch, records unavailable, empty image
    kExitFirmwareCurrent = 4,    // refused: the controller's firmware is not older and nothing forced the update
    kExitPackageUnreadable = 5,  // the updater's own file cannot be read or carries no package
    kExitAlreadyRunning = 6,     // another updater holds the single-instance lock
    kExitNoWindow = 7,           // a window was asked for, but Qt has no platform plugin to show it on
    kExitUnknownOption = 8,      // an option no form knows was given: it was named, nothing was done
};

}  // namespace updater
