// halcyra, the configuration program.
//
//   halcyra [true] [debug] [nodev] [ui:N] [en|cs|ct|japan|indonesia|arabic|korean]
//
// Exit codes: 0 the main window ran and closed (also when SIGTERM, SIGINT or SIGHUP closed it); 1 another
// copy is running (this one asks it to bring its window forward and leaves at once, silently); 2 the
// device-access library could not be loaded; 3 no display, or no Qt platform plugin for it.
#include "AccessibleFactory.h"
#include "ConfigDlg.h"
#include "DeferredWindowIcon.h"
#include "DisplayPlatform.h"
#include "FontDatabaseWarmUp.h"
#include "ProgramDirectory.h"
#include "RaiseRequest.h"
#include "SingleInstanceLock.h"
#include "SkinPalette.h"
#include "Startup.h"
#include "TarnlinkApi.h"
#include "TerminationSignals.h"

#include <QApplication>
#include <QEventLoop>
#include <QIcon>
#include <QMessageBox>
#include <QTimer>

#include <dlfcn.h>
#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr int kExitAlreadyRunning = 1;
constexpr int kExitNoLibrary = 2;
constexpr int kExitNoDisplay = 3;
// Allocations from this size on are mapped on their own: every page picture and window buffer.
constexpr int kOwnMappingBytes = 256 * 1024;

bool DisplayAvailable() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') return true;
    }
    return false;
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

// The main window is the program's normal top-level window (not a dialog, so the desktop lists and
// places it as such), and runs until it is done, as a modal run would, without being modal.
void RunAsMainWindow(config::CConfigDlg& window) {
    window.setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint);
    QEventLoop loop;
    QObject::connect(&window, &QDialog::finished, &loop, &QEventLoop::quit);
    window.show();
    loop.exec();
}

// The program's icon in the sizes a desktop shows.
QIcon ProgramIcon() {
    QIcon icon;
    for (const char* size : {"32", "64", "256"}) icon.addFile(QStringLiteral(":/halcyra/icon-%1.png").arg(size));
    return icon;
}

void BringForward(QWidget& window) {
    window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.show();
    window.raise();
    window.activateWindow();
}

}  // namespace

int main(int argc, char** argv) {
    // Page pictures are large and short-lived (decoded, cut into looks, freed): each gets a mapping of
    // its own, so freeing one gives its memory back at once rather than leaving a hole in the heap that
    // a later, larger buffer (the window's) cannot use. Without this the allocator moves the bound up to
    // the size of the largest picture freed so far.
    ::mallopt(M_MMAP_THRESHOLD, kOwnMappingBytes);
    if (!DisplayAvailable()) {
        std::fprintf(stderr, "halcyra: no display: set DISPLAY or WAYLAND_DISPLAY to show the window\n");
        return kExitNoDisplay;
    }
    if (const auto missing = platform::MissingPlatformPlugin()) {
        std::fprintf(stderr, "halcyra: cannot show the window: %s\n", missing->c_str());
        return kExitNoDisplay;
    }
    // The system's font configuration is read while the application object is made, and its font list
    // beside the set-up below; the window's first text waits for it.
    fonts::FontDatabaseWarmUp fonts;
    // A display Qt cannot open (no server behind DISPLAY, a plugin that fails) is one line, not an abort.
    std::optional<platform::PlatformStartGuard> startGuard(std::in_place, "halcyra", kExitNoDisplay);
    QApplication application(argc, argv);
    startGuard.reset();
    const fonts::FontDatabaseWarmUp::ListReading fontList = fonts.ReadFontList();
    // The class of the program's windows (WM_CLASS "halcyra", "Halcyra"), as the desktop entry's
    // StartupWMClass names it.
    QApplication::setApplicationName(QStringLiteral("Halcyra"));
    // On Wayland the window's app id: the desktop entry the desktop shows its icon and name from.
    QApplication::setDesktopFileName(QStringLiteral("com.marovell.Halcyra"));
    QApplication::setPalette(skin::SkinPalette());
    // Screen readers see the skinned buttons, sliders and colour picker with names, roles and actions.
    accessibility::InstallAccessibleFactory();
    // Decoding the icon waits for the main window's first picture, or for a window shown before it.
    skin::DeferredWindowIcon icon(ProgramIcon);

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
    // unwound; so is the main window whenever it is visible, because a signal that comes while it is
    // still being shown (a message box of its skin loading runs the events) finds it hidden, and
    // closing a hidden window ends no run. A signal before the window exists keeps it from being shown.
    config::CConfigDlg* running = nullptr;
    bool terminationRequested = false;
    QTimer closer;
    closer.setInterval(50);
    const auto closeWindows = [&running] {
        if (running == nullptr) return;
        if (running->isVisible()) running->close();
        CloseOtherWindows(*running);
    };
    QObject::connect(&closer, &QTimer::timeout, closeWindows);
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
            icon.SetAfterFirstPaintOf(window);
            // A second start asks this copy to bring its window forward.
            const platform::RaiseRequests raise(config::kSingleInstanceName, [&window] { BringForward(window); });
            RunAsMainWindow(window);
            running = nullptr;
            closer.stop();
        });
    if (!ran) platform::RequestRaise(config::kSingleInstanceName);
    return ran ? 0 : kExitAlreadyRunning;
}
