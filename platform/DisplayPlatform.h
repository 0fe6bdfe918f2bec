// Whether Qt will find a display platform plugin to show windows on. Qt ends the process with an abort
// when none of the plugins it tries loads (for example in a Wayland-only session without the Wayland
// plugin); the programs ask first and say in one line what is missing instead.
#pragma once

#include <optional>
#include <string>

namespace platform {

// What keeps windows from being shown, in one line without an end of line ("the Qt platform plugin for
// Wayland is not installed (Debian package qt6-wayland)"); nothing when a plugin Qt would try is
// installed in `pluginFolder` (a folder holding platforms/), or when it cannot tell (no such folder,
// or QT_PLUGIN_PATH or QT_QPA_PLATFORM_PLUGIN_PATH naming further folders). Reads
// QT_QPA_PLATFORM, WAYLAND_DISPLAY and DISPLAY: with QT_QPA_PLATFORM set, Qt tries the plugins it lists
// (separated by ';'); otherwise the X11 plugin (part of Qt's base) serves a DISPLAY, and a Wayland-only
// session needs the Wayland plugin.
std::optional<std::string> MissingPlatformPlugin(const std::string& pluginFolder);

// The same for the plugin folder of the Qt the program runs with.
std::optional<std::string> MissingPlatformPlugin();

// Qt aborts when the display it is told to use cannot be opened (a DISPLAY naming no server). Puts
// "offscreen" last in QT_QPA_PLATFORM (after the platforms the session names) so that Qt falls back to
// it instead; true when it added it, false when the list already held it.
bool AllowOffscreenFallback();

// While it lives (around the construction of the application object), a display platform that Qt
// cannot start (a DISPLAY naming no server, a plugin that does not load) ends the process at once with
// one line on standard error, "<program>: cannot show the window: <Qt's reason>", and `exitCode`,
// instead of Qt's abort. Qt's platform warnings meanwhile are held back, and handed on when it ends.
class PlatformStartGuard {
public:
    PlatformStartGuard(const char* program, int exitCode);
    ~PlatformStartGuard();
    PlatformStartGuard(const PlatformStartGuard&) = delete;
    PlatformStartGuard& operator=(const PlatformStartGuard&) = delete;
};

}  // namespace platform
