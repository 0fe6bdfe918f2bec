// Opens a web address in the desktop's default web browser, started directly: the browser comes from
// the Exec line of the desktop file that `xdg-mime query default text/html` names, its executable is
// the first blank-separated prefix of that line that names an existing file, and it is started with
// the address alone. Nothing is ever shown to the user.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace config {

// The outside world of the opener, replaceable in tests.
struct WebBrowserServices {
    // The desktop file id of the default text/html handler ("firefox.desktop"); empty when none.
    std::function<std::string()> defaultHtmlHandler;
    // The text of the desktop file with that id, found in the applications folders; nullopt when none.
    std::function<std::optional<std::string>(const std::string& desktopId)> readDesktopFile;
    // Whether `path` names an existing entry of the file system that is not a folder.
    std::function<bool(const std::string& path)> isFile;
    // Starts the program detached; true when it was started.
    std::function<bool(const QString& program, const QStringList& arguments)> start;
};

// The services of the running desktop: xdg-mime, the XDG data folders, PATH for bare program names,
// and platform::StartDetached.
WebBrowserServices DesktopWebBrowserServices();

// The value of the Exec key in the [Desktop Entry] group; empty when there is none.
std::string DesktopExecLine(std::string_view desktopFile);

// Blanks trimmed at both ends, then every double quote removed.
std::string CleanOpenCommand(std::string_view command);

// The executable of a cleaned open command: the text before the first blank whose prefix names a file
// (`isFile`), or the whole command when no prefix does.
std::string ExecutableOfCommand(const std::string& command, const std::function<bool(const std::string&)>& isFile);

// The arguments the browser gets: the address split at blanks, as a command line "<exe> <address>"
// would split it; an empty address gives none.
QStringList BrowserArguments(const QString& address);

// 0 when the browser was started with `address`, -1 otherwise (no handler, no desktop file, start
// failed).
int OpenWebPage(const QString& address, const WebBrowserServices& services);
int OpenWebPage(const QString& address);

}  // namespace config
