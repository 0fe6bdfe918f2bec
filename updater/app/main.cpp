// tessaflash, the firmware updater.
//
// Exit codes (ExitCodes.h): 0 updated, or the window closed normally, or the help or the versions were
// printed; 1 flashing failed, the controller never came up in its boot loader or did not come back on
// the new firmware; 2 no controller; 3 no fitting image, signature mismatch, records unavailable or an
// empty image; 4 refused because the
// controller's firmware is already current (nothing forced the update); 5 the package in this file is
// unreadable; 6 another updater is running; 7 the window cannot be shown (a platform plugin is missing);
// 8 an unknown option was given (it is named; nothing else is done).
//
// With "-silent", or when no window is built in or no display is available (none named, the named one
// not there, or a platform no person sees such as offscreen), the updater runs without a window: nothing
// waits for a person, refusals and failures go to standard error, and the progress of the update is
// printed there too. A display whose Qt platform plugin is not installed is said in one line (7): the
// person expected a window, so nothing is flashed.
#include "DisplayPlatform.h"
#include "ExitCodes.h"
#include "InstanceNames.h"
#include "ProgressLines.h"
#include "SingleInstanceLock.h"
#include "UpdateSession.h"
#include "UpdaterHelp.h"
#include "UpdaterOptions.h"

#ifdef TESSAFLASH_WITH_WINDOW
#include "UpdaterIdentity.h"
#include "WindowEntry.h"
#include <QApplication>
#include <QByteArray>
#endif

#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace {

std::filesystem::path ownExecutable(const char* argv0) {
    std::error_code error;
    auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::absolute(argv0) : path;
}

#ifdef TESSAFLASH_WITH_WINDOW
bool displayNamed() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') return true;
    }
    return false;
}

// A window on these platforms reaches no person: nobody could answer a page there.
bool windowsAreSeen() {
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}
#endif

int runWithoutWindow(QCoreApplication& app, updater::UpdaterOptions options, const std::filesystem::path& self) {
    const bool windowless = !options.silent;
    if (windowless) {
        std::fprintf(stderr, "tessaflash: no window available: updating as with -silent\n");
        options.autoStart = true;
    }
    updater::UpdateSession session(options, windowless);
    updater::ProgressLines progress(stderr);
    QObject::connect(&session, &updater::UpdateSession::progressChanged, &session,
                     [&progress](int percent) { progress.report(percent); });
    QObject::connect(&session, &updater::UpdateSession::finished, &app, [&app](int code) { app.exit(code); });
    if (!session.start(self)) return session.exitCode();
    return app.exec();
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string_view> arguments(argv, argv + argc);
    const updater::UpdaterOptions options = updater::parseUpdaterOptions(arguments);
    if (!options.unknownOption.empty()) {
        std::fprintf(stderr, "tessaflash: unknown option '%s'; 'tessaflash --help' lists the options\n",
                     options.unknownOption.c_str());
        return updater::kExitUnknownOption;
    }
    platform::SingleInstanceLock lock;
    if (!lock.Acquire(platform::kUpdaterInstance) &&
        lock.LastOutcome() == platform::SingleInstanceLock::Outcome::HeldElsewhere) {
        std::fprintf(stderr, "tessaflash: another updater is running\n");
        return updater::kExitAlreadyRunning;
    }
    if (options.helpRequested) {
        updater::writeHelp(stdout);
        return updater::kExitSuccess;
    }
    const std::filesystem::path self = ownExecutable(argv[0]);
    if (options.versionRequested)
        return updater::writeVersions(stdout, self) ? updater::kExitSuccess : updater::kExitPackageUnreadable;
#ifdef TESSAFLASH_WITH_WINDOW
    if (!options.silent && displayNamed()) {
        if (const auto missing = platform::MissingPlatformPlugin()) {
            std::fprintf(stderr, "tessaflash: cannot show the window: %s\n", missing->c_str());
            return updater::kExitNoWindow;
        }
        platform::AllowOffscreenFallback();
        QApplication app(argc, argv);
        if (!windowsAreSeen()) return runWithoutWindow(app, options, self);
        updater::SetUpdaterIdentity();
        updater::UpdateSession session(options);
        const std::string selfText = self.string();
        return updater::runUpdaterWindow(session, selfText.c_str());
    }
#endif
    QCoreApplication app(argc, argv);
    return runWithoutWindow(app, options, self);
}
