#include "XdgDirectories.h"

#include "UserDirsFile.h"

#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <vector>

namespace platform {

namespace {

// "/a/b//" -> "/a/b"; "/" stays "/".
std::string WithoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    return path;
}

// The variable's value when it names an absolute path.
std::optional<std::string> AbsolutePathFromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || value[0] != '/') {
        return std::nullopt;
    }
    return WithoutTrailingSlashes(value);
}

std::optional<std::string> HomeFromPasswordEntry() {
    long suggested = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(suggested > 0 ? static_cast<size_t>(suggested) : 4096);
    passwd entry{};
    passwd* found = nullptr;
    // The entry may need more room than suggested; ERANGE asks for a bigger buffer.
    while (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == ERANGE &&
           buffer.size() < (1u << 20)) {
        buffer.resize(buffer.size() * 2);
    }
    if (found == nullptr || found->pw_dir == nullptr || found->pw_dir[0] != '/') {
        return std::nullopt;
    }
    return WithoutTrailingSlashes(found->pw_dir);
}

// Joins a folder and a name without doubling the separator after "/".
std::string JoinPath(const std::string& folder, const char* name) {
    return folder == "/" ? folder + name : folder + "/" + name;
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return std::nullopt;
    }
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

}  // namespace

std::string HomeDirectory() {
    if (const char* home = std::getenv("HOME"); home != nullptr && home[0] != '\0') {
        return WithoutTrailingSlashes(home);
    }
    return HomeFromPasswordEntry().value_or("/");
}

std::string TemporaryDirectory() {
    return AbsolutePathFromEnvironment("TMPDIR").value_or("/tmp");
}

std::string ConfigHomeDirectory() {
    if (auto configHome = AbsolutePathFromEnvironment("XDG_CONFIG_HOME")) {
        return *configHome;
    }
    return JoinPath(HomeDirectory(), ".config");
}

std::string DataHomeDirectory() {
    if (auto dataHome = AbsolutePathFromEnvironment("XDG_DATA_HOME")) {
        return *dataHome;
    }
    return JoinPath(HomeDirectory(), ".local/share");
}

std::string DesktopDirectory() {
    if (auto desktop = AbsolutePathFromEnvironment("XDG_DESKTOP_DIR")) {
        return *desktop;
    }
    const std::string home = HomeDirectory();
    if (auto fileText = ReadWholeFile(JoinPath(ConfigHomeDirectory(), "user-dirs.dirs"))) {
        // "$HOME/Desktop" with the home "/" is "/Desktop", not "//Desktop".
        const std::string_view homePrefix = home == "/" ? std::string_view{} : std::string_view{home};
        if (auto desktop = FindUserDir(*fileText, "XDG_DESKTOP_DIR", homePrefix)) {
            return WithoutTrailingSlashes(*desktop);
        }
    }
    return JoinPath(home, "Desktop");
}

std::string RuntimeDirectory() {
    return AbsolutePathFromEnvironment("XDG_RUNTIME_DIR").value_or(TemporaryDirectory());
}

}  // namespace platform
