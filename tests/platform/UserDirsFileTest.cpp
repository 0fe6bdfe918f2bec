#include "UserDirsFile.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

struct Case {
    const char* name;
    std::string_view file;
    std::optional<std::string> desktop;
};

TEST(UserDirsFile, FindsTheDesktopEntry) {
    const Case cases[] = {
        {"written by the desktop",
         "# This file is written by xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
         "XDG_DOWNLOAD_DIR=\"$HOME/Downloads\"\n",
         "/home/ana/Desktop"},
        {"translated name", "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"", "/home/ana/Schreibtisch"},
        {"braced variable", "XDG_DESKTOP_DIR=\"${HOME}/Bureau\"\n", "/home/ana/Bureau"},
        {"absolute path", "XDG_DESKTOP_DIR=\"/data/desk top\"\n", "/data/desk top"},
        {"home itself", "XDG_DESKTOP_DIR=\"$HOME\"\n", "/home/ana"},
        {"blanks around", "   XDG_DESKTOP_DIR = \"$HOME/D\"  \r\n", "/home/ana/D"},
        {"bare value, CR LF", "XDG_DESKTOP_DIR=$HOME/Bare\r\n", "/home/ana/Bare"},
        {"escaped quote", R"(XDG_DESKTOP_DIR="$HOME/My \"Desk\"")", "/home/ana/My \"Desk\""},
        {"last usable line counts", "XDG_DESKTOP_DIR=\"$HOME/One\"\nXDG_DESKTOP_DIR=\"$HOME/Two\"\n",
         "/home/ana/Two"},
        {"unusable later line skipped", "XDG_DESKTOP_DIR=\"$HOME/One\"\nXDG_DESKTOP_DIR=\"relative\"\n",
         "/home/ana/One"},
        {"open quote skipped", "XDG_DESKTOP_DIR=\"$HOME/One\"\nXDG_DESKTOP_DIR=\"$HOME/Two\n", "/home/ana/One"},
        {"commented out", "# XDG_DESKTOP_DIR=\"$HOME/Old\"\n#XDG_DESKTOP_DIR=\"/x\"\n", std::nullopt},
        {"relative path", "XDG_DESKTOP_DIR=\"Desktop\"\n", std::nullopt},
        {"other variable", "XDG_DESKTOP_DIR=\"$HOMEDIR/Desktop\"\n", std::nullopt},
        {"longer key", "XDG_DESKTOP_DIRS=\"$HOME/Desktop\"\n", std::nullopt},
        {"no equals sign", "XDG_DESKTOP_DIR \"$HOME/Desktop\"\n", std::nullopt},
        {"empty value", "XDG_DESKTOP_DIR=\"\"\n", std::nullopt},
        {"other keys only", "XDG_MUSIC_DIR=\"$HOME/Music\"\n", std::nullopt},
        {"empty file", "", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(platform::FindUserDir(c.file, "XDG_DESKTOP_DIR", "/home/ana"), c.desktop) << c.name;
    }
}

}  // namespace
