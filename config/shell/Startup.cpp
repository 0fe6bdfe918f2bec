#include "Startup.h"

#include "CompanionNotifier.h"
#include "DebugLog.h"
#include "DebugOutput.h"
#include "SingleInstanceLock.h"

#include <QGuiApplication>
#include <QScreen>

namespace config {

bool NotifyCompanionBeforeMainWindow() {
    return platform::NotifyCompanion(platform::kCompanionSocketName, platform::kCompanionMessage, 0, 1);
}

bool NotifyCompanionAfterMainWindow() {
    return platform::NotifyCompanion(platform::kCompanionSocketName, platform::kCompanionMessage, 0, 0);
}

bool RunStartup(std::span<const std::string> words, platform::SingleInstanceLock& lock,
                const std::function<int()>& primaryScreenWidth, const MainWindowRunner& runMainWindow) {
    // The command line is read only after the lock: a second copy leaves no trace, not even a log line.
    // A lock file that cannot be made at all does not keep the program from starting.
    if (!lock.Acquire(kSingleInstanceName) &&
        lock.LastOutcome() == platform::SingleInstanceLock::Outcome::HeldElsewhere) {
        return false;
    }
    const StartupOptions options = ParseCommandLine(words);
    if (options.debug) g_debugLog = true;
    // The "debug" word also lets the diagnostic lines (the links' notices) reach standard error.
    if (g_debugLog) platform::SetDebugOutput(true);
    if (g_debugLog) WriteDebugLog(u"App Init");
    NotifyCompanionBeforeMainWindow();
    const int width = options.resolutionIndex == -1 ? primaryScreenWidth() : 0;
    runMainWindow(options, ResolutionFolder(options.resolutionIndex, width));
    NotifyCompanionAfterMainWindow();
    return true;
}

int PrimaryScreenWidth() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->geometry().width() : 0;
}

}  // namespace config
