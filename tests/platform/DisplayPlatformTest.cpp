#include "DisplayPlatform.h"

#include "ScopedEnvironment.h"
#include "TemporaryFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

using platform_test::ScopedEnvironment;
using platform_test::TemporaryFolder;

// A Wayland-only session without the Wayland plugin is told in one line; every session Qt can serve
// with an installed plugin is left alone.
TEST(DisplayPlatform, NamesTheMissingPluginOfTheSession) {
    const struct {
        const char* installed;  // plugin files in platforms/, separated by blanks
        const char* platform;   // QT_QPA_PLATFORM
        const char* display;    // DISPLAY
        const char* wayland;    // WAYLAND_DISPLAY
        const char* missing;    // "" when nothing is missing
    } rows[] = {
        {"libqxcb.so", "", "", "wayland-0", "the Qt platform plugin for Wayland is not installed (Debian package qt6-wayland)"},
        {"libqxcb.so", "", ":0", "wayland-0", ""},  // XWayland: the X11 plugin serves
        {"libqxcb.so libqwayland-generic.so", "", "", "wayland-0", ""},
        {"libqxcb.so", "wayland", ":0", "wayland-0", "the Qt platform plugin for Wayland is not installed (Debian package qt6-wayland)"},
        {"libqxcb.so", "wayland;xcb", ":0", "wayland-0", ""},  // the fallback is installed
        {"libqxcb.so libqwayland-egl.so", "wayland-egl", "", "wayland-0", ""},
        {"libqxcb.so", "xcb:nograb", ":0", "", ""},
        {"libqxcb.so", "XCB", ":0", "", ""},  // Qt takes the names in any case
        {"libqxcb.so", "eglfs", "", "", "the Qt platform plugin \"eglfs\" is not installed"},
        {"libqoffscreen.so", "offscreen", "", "", ""},
        {"libqxcb.so", "", "", "", ""},  // no display at all: the programs say so themselves
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.installed) + " | " + row.platform + " | " + row.display + " | " + row.wayland);
        TemporaryFolder plugins;
        std::filesystem::create_directories(plugins.Path() + "/platforms");
        std::string files = row.installed;
        for (std::size_t start = 0; start < files.size();) {
            const std::size_t end = std::min(files.find(' ', start), files.size());
            std::ofstream(plugins.Path() + "/platforms/" + files.substr(start, end - start)) << "";
            start = end + 1;
        }
        ScopedEnvironment environment;
        environment.Unset("QT_PLUGIN_PATH");
        environment.Unset("QT_QPA_PLATFORM_PLUGIN_PATH");
        const std::pair<const char*, const char*> variables[] = {
            {"QT_QPA_PLATFORM", row.platform}, {"DISPLAY", row.display}, {"WAYLAND_DISPLAY", row.wayland}};
        for (const auto& [name, value] : variables) {
            if (*value) environment.Set(name, value);
            else environment.Unset(name);
        }
        EXPECT_EQ(platform::MissingPlatformPlugin(plugins.Path()).value_or(""), row.missing);
    }
}

TEST(DisplayPlatform, CannotTellWithFurtherPluginFolders) {
    TemporaryFolder plugins;
    std::filesystem::create_directories(plugins.Path() + "/platforms");
    ScopedEnvironment environment;
    environment.Set("QT_QPA_PLATFORM", "wayland");
    for (const char* variable : {"QT_PLUGIN_PATH", "QT_QPA_PLATFORM_PLUGIN_PATH"}) {
        ScopedEnvironment further;
        further.Set(variable, "/opt/qt/plugins");
        EXPECT_EQ(platform::MissingPlatformPlugin(plugins.Path()), std::nullopt) << variable;
    }
    EXPECT_EQ(platform::MissingPlatformPlugin(plugins.Path() + "/none"), std::nullopt) << "no plugin folder";
}

}  // namespace
