#include "XdgDirectories.h"

#include "ScopedEnvironment.h"
#include "TemporaryFolder.h"

#include <gtest/gtest.h>

#include <pwd.h>
#include <unistd.h>

#include <fstream>

namespace {

using platform_test::ScopedEnvironment;
using platform_test::TemporaryFolder;

TEST(XdgDirectories, HomeComesFromTheEnvironmentOrThePasswordEntry) {
    const passwd* entry = getpwuid(getuid());
    ASSERT_NE(entry, nullptr);
    const std::string passwordHome = entry->pw_dir;
    ScopedEnvironment environment;

    environment.Set("HOME", "/home/ana/");
    EXPECT_EQ(platform::HomeDirectory(), "/home/ana");
    environment.Set("HOME", "/");
    EXPECT_EQ(platform::HomeDirectory(), "/");
    environment.Set("HOME", "");
    EXPECT_EQ(platform::HomeDirectory(), passwordHome);
    environment.Unset("HOME");
    EXPECT_EQ(platform::HomeDirectory(), passwordHome);
}

TEST(XdgDirectories, ConfigAndDataHomeIgnoreEmptyAndRelativeValues) {
    const struct {
        const char* variable;
        std::string (*folder)();
        const char* underHome;
    } rows[] = {
        {"XDG_CONFIG_HOME", platform::ConfigHomeDirectory, ".config"},
        {"XDG_DATA_HOME", platform::DataHomeDirectory, ".local/share"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.variable);
        ScopedEnvironment environment;
        environment.Set("HOME", "/home/ana");

        environment.Set(row.variable, "/srv/conf//");
        EXPECT_EQ(row.folder(), "/srv/conf");
        for (const char* ignored : {"", "relative/conf", "~/conf"}) {
            environment.Set(row.variable, ignored);
            EXPECT_EQ(row.folder(), std::string("/home/ana/") + row.underHome) << '"' << ignored << '"';
        }
        environment.Unset(row.variable);
        EXPECT_EQ(row.folder(), std::string("/home/ana/") + row.underHome);
        environment.Set("HOME", "/");
        EXPECT_EQ(row.folder(), std::string("/") + row.underHome);
    }
}

class DesktopDirectory : public testing::Test {
protected:
    void SetUp() override {
        environment_.Set("HOME", "/home/ana");
        environment_.Set("XDG_CONFIG_HOME", configHome_.Path());
        environment_.Unset("XDG_DESKTOP_DIR");
    }
    void WriteUserDirs(const std::string& text) {
        std::ofstream(configHome_.File("user-dirs.dirs"), std::ios::binary) << text;
    }

    TemporaryFolder configHome_;
    ScopedEnvironment environment_;
};

TEST_F(DesktopDirectory, TheVariableComesFirst) {
    WriteUserDirs("XDG_DESKTOP_DIR=\"$HOME/FromFile\"\n");
    environment_.Set("XDG_DESKTOP_DIR", "/mnt/desk/");
    EXPECT_EQ(platform::DesktopDirectory(), "/mnt/desk");
}

TEST_F(DesktopDirectory, ThenTheUserDirsFileWithHomeExpanded) {
    WriteUserDirs("XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\nXDG_DESKTOP_DIR=\"$HOME/Schreibtisch/\"\n");
    EXPECT_EQ(platform::DesktopDirectory(), "/home/ana/Schreibtisch");
    environment_.Set("XDG_DESKTOP_DIR", "relative");
    EXPECT_EQ(platform::DesktopDirectory(), "/home/ana/Schreibtisch");
    environment_.Set("HOME", "/");
    EXPECT_EQ(platform::DesktopDirectory(), "/Schreibtisch");
}

TEST_F(DesktopDirectory, ElseDesktopInTheHomeFolder) {
    EXPECT_EQ(platform::DesktopDirectory(), "/home/ana/Desktop");  // no user-dirs.dirs
    WriteUserDirs("XDG_MUSIC_DIR=\"$HOME/Music\"\nXDG_DESKTOP_DIR=\"Desktop\"\n");
    EXPECT_EQ(platform::DesktopDirectory(), "/home/ana/Desktop");  // nothing usable in it
}

TEST(XdgDirectories, RuntimeFallsBackToTheTemporaryFolder) {
    ScopedEnvironment environment;
    environment.Set("XDG_RUNTIME_DIR", "/run/user/1000");
    environment.Set("TMPDIR", "/var/tmp/");
    EXPECT_EQ(platform::RuntimeDirectory(), "/run/user/1000");
    environment.Unset("XDG_RUNTIME_DIR");
    EXPECT_EQ(platform::RuntimeDirectory(), "/var/tmp");
    EXPECT_EQ(platform::TemporaryDirectory(), "/var/tmp");
    environment.Set("XDG_RUNTIME_DIR", "run");
    environment.Unset("TMPDIR");
    EXPECT_EQ(platform::RuntimeDirectory(), "/tmp");
}

}  // namespace
