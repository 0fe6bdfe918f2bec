// The configuration program's start-up: one running copy, the command line, the companion notices
// around the main window and the choice of the skin resolution.
#pragma once

#include "CommandLine.h"
#include "InstanceNames.h"

#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace platform {
class SingleInstanceLock;
}

namespace config {

// The name of the lock that keeps the program to one running copy (it also keeps halcyractl away).
inline constexpr std::string_view kSingleInstanceName = platform::kConfigurationProgramInstance;

// The companion program's notice (message 2929): lParam 1 before the main window is created,
// lParam 0 after it has closed. Sent only when the companion listens; no answer is awaited. True when
// the notice was handed over.
bool NotifyCompanionBeforeMainWindow();
bool NotifyCompanionAfterMainWindow();

// Runs the main window modally with the values the start-up chose.
using MainWindowRunner = std::function<void(const StartupOptions& options, const std::string& resolutionFolder)>;

// The start-up routine. Takes `lock` (kSingleInstanceName; the caller keeps it for the whole run) and
// returns false at once, silently, when another copy holds it (a lock that
// cannot be made at all lets the program run). Otherwise reads the command line
// (switching g_debugLog on for "debug" and logging "App Init"), notifies the companion, chooses the
// resolution folder (asking `primaryScreenWidth` only when no "ui:" word chose one), runs the main
// window, notifies the companion again and returns true.
bool RunStartup(std::span<const std::string> words, platform::SingleInstanceLock& lock,
                const std::function<int()>& primaryScreenWidth, const MainWindowRunner& runMainWindow);

// The width in pixels of the primary screen; 0 without a screen. Needs the Qt application object.
int PrimaryScreenWidth();

}  // namespace config
