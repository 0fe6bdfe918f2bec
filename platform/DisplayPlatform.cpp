#include "DisplayPlatform.h"

#include <QLibraryInfo>
#include <QtGlobal>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <utility>
#include <vector>

namespace platform {

namespace {

std::string Variable(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

// Whether platforms/libq<name>*.so lies in `pluginFolder` ("wayland" is libqwayland-egl.so or
// libqwayland-generic.so, "xcb" is libqxcb.so).
bool PluginInstalled(const std::string& pluginFolder, std::string_view name) {
    std::error_code error;
    // Qt matches the names case-insensitively ("XCB" is the X11 plugin).
    std::string prefix = "libq" + std::string(name);
    for (char& c : prefix) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const auto& entry : std::filesystem::directory_iterator(pluginFolder + "/platforms", error)) {
        const std::string file = entry.path().filename().string();
        if (file.starts_with(prefix) && file.ends_with(".so")) return true;
    }
    return false;
}

struct HeldMessage {
    QtMsgType type;
    std::string category;
    QString text;
};

struct StartGuardState {
    const char* program = nullptr;
    int exitCode = 0;
    QtMessageHandler previous = nullptr;
    std::vector<HeldMessage> held;
};

StartGuardState& Guard() {
    static StartGuardState state;
    return state;
}

void HoldPlatformMessages(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    StartGuardState& guard = Guard();
    const std::string_view category = context.category == nullptr ? "" : context.category;
    if (type == QtFatalMsg) {
        // Qt's own reason (the first platform warning, "could not connect to display :1"), else its last word.
        const QString reason = guard.held.empty() ? text.section('\n', 0, 0) : guard.held.front().text;
        std::fprintf(stderr, "%s: cannot show the window: %s\n", guard.program, reason.toLocal8Bit().constData());
        std::fflush(stderr);
        std::_Exit(guard.exitCode);
    }
    if (category.starts_with("qt.qpa")) {
        guard.held.push_back({type, std::string(category), text});
        return;
    }
    if (guard.previous != nullptr) guard.previous(type, context, text);
}

std::string Missing(std::string_view name) {
    if (name.starts_with("wayland"))
        return "the Qt platform plugin for Wayland is not installed (Debian package qt6-wayland)";
    return "the Qt platform plugin \"" + std::string(name) + "\" is not installed";
}

}  // namespace

std::optional<std::string> MissingPlatformPlugin(const std::string& pluginFolder) {
    // Plugins from further folders cannot be told from here.
    if (!Variable("QT_PLUGIN_PATH").empty() || !Variable("QT_QPA_PLATFORM_PLUGIN_PATH").empty()) return std::nullopt;
    std::error_code error;
    if (!std::filesystem::is_directory(pluginFolder + "/platforms", error)) return std::nullopt;
    const std::string requested = Variable("QT_QPA_PLATFORM");
    if (!requested.empty()) {
        std::vector<std::string> names;
        for (std::size_t start = 0; start <= requested.size();) {
            const std::size_t end = std::min(requested.find(';', start), requested.size());
            // "wayland:option" and "xcb:option" carry options after a colon.
            const std::string entry = requested.substr(start, end - start);
            if (!entry.empty()) names.push_back(entry.substr(0, entry.find(':')));
            start = end + 1;
        }
        for (const std::string& name : names) {
            if (PluginInstalled(pluginFolder, name)) return std::nullopt;
        }
        return names.empty() ? std::nullopt : std::optional(Missing(names.front()));
    }
    if (!Variable("DISPLAY").empty()) return std::nullopt;
    if (!Variable("WAYLAND_DISPLAY").empty() && !PluginInstalled(pluginFolder, "wayland")) return Missing("wayland");
    return std::nullopt;
}

std::optional<std::string> MissingPlatformPlugin() {
    return MissingPlatformPlugin(QLibraryInfo::path(QLibraryInfo::PluginsPath).toStdString());
}

PlatformStartGuard::PlatformStartGuard(const char* program, int exitCode) {
    StartGuardState& guard = Guard();
    guard.program = program;
    guard.exitCode = exitCode;
    guard.held.clear();
    guard.previous = qInstallMessageHandler(HoldPlatformMessages);
}

PlatformStartGuard::~PlatformStartGuard() {
    StartGuardState& guard = Guard();
    qInstallMessageHandler(guard.previous);
    for (const HeldMessage& message : std::exchange(guard.held, {})) {
        const QMessageLogContext context(nullptr, 0, nullptr, message.category.c_str());
        qt_message_output(message.type, context, message.text);
    }
}

bool AllowOffscreenFallback() {
    QByteArray platforms = qgetenv("QT_QPA_PLATFORM");
    if (platforms.isEmpty()) {
        if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) platforms += "wayland;";
        if (!qEnvironmentVariableIsEmpty("DISPLAY")) platforms += "xcb;";
    }
    if (platforms.split(';').contains("offscreen")) return false;
    if (!platforms.isEmpty() && !platforms.endsWith(';')) platforms += ';';
    qputenv("QT_QPA_PLATFORM", platforms + "offscreen");
    return true;
}

}  // namespace platform
