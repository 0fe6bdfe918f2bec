#include "DisplayPlatform.h"

#include <QLibraryInfo>

#include <cstdlib>
#include <filesystem>
#include <string_view>
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
    const std::string prefix = "libq" + std::string(name);
    for (const auto& entry : std::filesystem::directory_iterator(pluginFolder + "/platforms", error)) {
        const std::string file = entry.path().filename().string();
        if (file.starts_with(prefix) && file.ends_with(".so")) return true;
    }
    return false;
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

}  // namespace platform
