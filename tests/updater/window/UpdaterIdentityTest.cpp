#include "UpdaterIdentity.h"

#include <QGuiApplication>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string DesktopEntryValue(const std::string& path, const std::string& key) {
    std::ifstream file(path);
    std::string line;
    while (std::getline(file, line)) {
        if (line.starts_with(key + "=")) return line.substr(key.size() + 1);
    }
    return {};
}

// The desktop groups the updater's windows under its desktop entry by the window class (X11) and the app
// id (Wayland): both have to be what the installed entry names.
TEST(UpdaterIdentity, ClassAndAppIdAreWhatTheDesktopEntryNames) {
    const std::string entry = PACKAGING_DIR "/com.marovell.Tessaflash.desktop";
    const std::string wmClass = DesktopEntryValue(entry, "StartupWMClass");
    ASSERT_FALSE(wmClass.empty()) << entry;
    updater::SetUpdaterIdentity();
    EXPECT_EQ(QGuiApplication::applicationName().toStdString(), wmClass);
    EXPECT_EQ(QGuiApplication::desktopFileName().toStdString(), "com.marovell.Tessaflash");
}

}  // namespace
