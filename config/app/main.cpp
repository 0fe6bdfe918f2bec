// halcyra, the configuration program.
//
//   halcyra [true] [debug] [nodev] [ui:N] [en|cs|ct|japan|indonesia|arabic|korean]
//
// Exit codes: 0 the main window ran and closed (also when SIGTERM, SIGINT or SIGHUP closed it); 1 another
// copy is running (this one leaves at once, silently); 2 the device-access library could not be loaded;
// 3 no display (none named, or the one named cannot be opened).
#include "AccessibleFactory.h"
#include "ConfigDlg.h"
#include "ProgramDirectory.h"
#include "SingleInstanceLock.h"
#include "SkinPalette.h"
#include "Startup.h"
#include "TarnlinkApi.h"
#include "TerminationSignals.h"

#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <QTimer>

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr int kExitAlreadyRunning = 1;
constexpr int kExitNoLibrary = 2;
constexpr int kExitNoDisplay = 3;

bool DisplayAvailable() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') return true;
    }
    return false;
}

// The toolkit ends the process with abort() when the display it is given cannot be opened (a stale
// DISPLAY, a compositor that has gone). While the application starts, its fatal message ends the
// program with the no-display exit code instead; other messages go where they always go.
QtMessageHandler g_startMessages = nullptr;

void EndWithoutDisplayOnFatal(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type != QtFatalMsg) {
        g_startMessages(type, context, message);
        return;
    }
    // The toolkit's own lines before this one name the display and what failed.
    std::fprintf(stderr, "halcyra: no display: the display named in the environment cannot be opened\n");
    std::_Exit(kExitNoDisplay);
}

// The device-access library beside the program (as installed), else wherever the loader finds it.
// It stays loaded for the life of the process.
std::optional<config::TarnlinkApi> LoadTarnlink(std::string& error) {
    void* library = ::dlopen((platform::ProgramDirectory() + "libtarnlink.so").c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) library = ::dlopen("libtarnlink.so", RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        const char* text = ::dlerror();
        error = text != nullptr ? text : "libtarnlink.so not found";
        return std::nullopt;
    }
    const auto lookup = reinterpret_cast<config::TarnOrdinalLookup>(::dlsym(library, "TarnGetProcByOrdinal"));
    auto api = config::BindTarnlinkByOrdinal(lookup);
    if (!api) error = "libtarnlink.so lacks an operation the program needs";
    return api;
}

// After a termination signal: every window but the main one (a message box, a pop-up that code after
// an ended nested loop opens) is closed, so that no modal loop keeps the program from ending.
void CloseOtherWindows(const QWidget& mainWindow) {
    for (QWidget* other : QApplication::topLevelWidgets()) {
        if (other != &mainWindow && other->isVisible()) other->close();
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (!DisplayAvailable()) {
        std::fprintf(stderr, "halcyra: no display: set DISPLAY or WAYLAND_DISPLAY to show the window\n");
        return kExitNoDisplay;
    }
    g_startMessages = qInstallMessageHandler(EndWithoutDisplayOnFatal);
    QApplication application(argc, argv);
    qInstallMessageHandler(g_startMessages);
    QApplication::setApplicationName(QStringLiteral("halcyra"));
    // On Wayland the window's app id: the desktop entry the desktop shows its icon and name from.
    QApplication::setDesktopFileName(QStringLiteral("com.marovell.Halcyra"));
    QApplication::setPalette(skin::SkinPalette());
    QIcon icon;
    for (const char* size : {"32", "64", "256"}) icon.addFile(QStringLiteral(":/halcyra/icon-%1.png").arg(size));
    QApplication::setWindowIcon(icon);
    // Screen readers see the skinned buttons, sliders and colour picker with names, roles and actions.
    accessibility::InstallAccessibleFactory();

    std::string error;
    const std::optional<config::TarnlinkApi> tarnlink = LoadTarnlink(error);
    if (!tarnlink) {
        std::fprintf(stderr, "halcyra: %s\n", error.c_str());
        QMessageBox::critical(nullptr, QStringLiteral("Halcyra"),
                              QStringLiteral("The device-access library could not be loaded:\n%1")
                                  .arg(QString::fromLocal8Bit(error.c_str())));
        return kExitNoLibrary;
    }

    // A termination signal closes the main window as its close button does when nothing is unsaved:
    // the window closes its warning pop-ups and ends its modal run, and its destruction hands the
    // controller back. Other windows are closed too, at once and then every 50 ms until the run has
    // unwound. A signal before the window exists keeps it from being shown at all.
    config::CConfigDlg* running = nullptr;
    bool terminationRequested = false;
    QTimer closer;
    closer.setInterval(50);
    QObject::connect(&closer, &QTimer::timeout, [&running] {
        if (running != nullptr) CloseOtherWindows(*running);
    });
    const config::TerminationSignals termination([&] {
        terminationRequested = true;
        if (running == nullptr) return;
        running->close();
        CloseOtherWindows(*running);
        closer.start();
    });

    const std::vector<std::string> words(argv + (argc > 0 ? 1 : 0), argv + argc);
    platform::SingleInstanceLock lock;
    const bool ran = config::RunStartup(
        words, lock, config::PrimaryScreenWidth,
        [&](const config::StartupOptions& options, const std::string& resolutionFolder) {
            config::ConfigDlgSetup setup;
            setup.options = options;
            setup.resolutionFolder = resolutionFolder;
            setup.tarnlink = *tarnlink;
            config::CConfigDlg window(std::move(setup));
            if (terminationRequested) return;
            running = &window;
            window.exec();
            running = nullptr;
            closer.stop();
        });
    return ran ? 0 : kExitAlreadyRunning;
}
