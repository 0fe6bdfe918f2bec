// The hook through which `tessaflash` opens its window. A library target named
// `updater_window_entry` defines runUpdaterWindow(); when that target exists (its folder added before
// updater/app), tessaflash links it and calls it instead of running without a window.
#pragma once

namespace updater {

class UpdateSession;

// Called on the user-interface thread with a QApplication already created and the session not yet
// started. Builds the main window on `session`, calls session.start(programFile) itself, runs the
// window modally and returns the process's exit code (normally session.exitCode()).
int runUpdaterWindow(UpdateSession& session, const char* programFile);

}  // namespace updater
