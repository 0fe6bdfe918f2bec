// The hook through which `tessaflash` opens its window. The window's library defines
// runUpdaterWindow(); updater/app links that library when a target named `updater_window` exists
// (add its folder before updater/app) and then calls it instead of running without a window.
#pragma once

namespace updater {

class UpdateSession;

// Called on the user-interface thread with a QApplication already created and the session not yet
// started. Builds the main window on `session`, calls session.start(programFile) itself, runs the
// window modally and returns the process's exit code (normally session.exitCode()).
int runUpdaterWindow(UpdateSession& session, const char* programFile);

}  // namespace updater
