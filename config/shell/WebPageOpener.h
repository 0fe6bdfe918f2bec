// Opens a web address in the desktop's web browser, the way the desktop itself opens one: first the
// XDG desktop portal's OpenURI over D-Bus (which also serves sandboxed desktops), then xdg-open, and
// when neither is there, the default text/html handler's desktop entry (`xdg-mime query default
// text/html`), whose Exec line is expanded by the desktop entry rules (DesktopExec.h) and run.
// Nothing is ever shown to the person; the look-up may take seconds, so the window hands it to a
// worker thread (OpenWebPageInBackground).
#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <string>

namespace config {

// The outside world of the opener, replaceable in tests.
struct WebBrowserServices {
    // Asks the desktop portal to open the address; true when the portal took it.
    std::function<bool(const QString& address)> portalOpenUri;
    // Whether a program of that name is on PATH ("xdg-open").
    std::function<bool(const std::string& program)> hasProgram;
    // The desktop file id of the default text/html handler ("firefox.desktop"); empty when none.
    std::function<std::string()> defaultHtmlHandler;
    // The text of the desktop file with that id, found in the applications folders; nullopt when none.
    std::function<std::optional<std::string>(const std::string& desktopId)> readDesktopFile;
    // Starts the program detached; true when it was started.
    std::function<bool(const QString& program, const QStringList& arguments)> start;
};

// The services of the running desktop: the session bus, PATH, xdg-mime, the XDG data folders and
// platform::StartDetached.
WebBrowserServices DesktopWebBrowserServices();

// 0 when the address was handed to the portal or a program was started with it, -1 otherwise (empty
// address or one that begins with '-', no opener, no handler, an unreadable Exec line, start failed). Blocks while it looks.
int OpenWebPage(const QString& address, const WebBrowserServices& services);
int OpenWebPage(const QString& address);

// OpenWebPage on a worker thread; `finished` (may be empty) gets the result on that thread.
void OpenWebPageInBackground(const QString& address, std::function<void(int result)> finished = {});

}  // namespace config
