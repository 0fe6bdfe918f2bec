// The configuration program's command line and the skin resolution it chooses.
//
// Every word after the program name is lower-cased, then the first matching rule handles it:
//   "true"   the program was restarted by the updater after an update
//   "debug"  the debug log is switched on
//   "nodev"  the program stays open without a controller
//   any word containing "ui:"  the text after the first "ui:" is the resolution index
//   "en" 0, "cs" 8, "ct" 11, "japan" 4, "indonesia" 15, "arabic" 13, "korean" 5  the language code
// Other words are ignored; later words overwrite earlier ones. No Qt.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace config {

struct StartupOptions {
    bool restartedAfterUpdate = false;
    bool deviceRequired = true;
    bool debug = false;
    std::uint32_t languageCode = 255;
    // -1: chosen from the primary screen's width.
    int resolutionIndex = -1;
};

// Reads the words after the program name.
StartupOptions ParseCommandLine(std::span<const std::string> words);

// A number as the C library's atoi reads it: leading blanks, an optional sign, then
// decimal digits; no digits read as 0. Values beyond int saturate.
int ReadLeadingInteger(std::string_view text);

// The resolution folder (with its trailing '/') for the index: 0 "1920x1080/", 1 "1366x768/", any other
// "960x540/"; -1 chooses by the screen width: above 1920 "1920x1080/", above 1366 "1366x768/", else
// "960x540/".
std::string ResolutionFolder(int resolutionIndex, int primaryScreenWidth);

}  // namespace config
