#include "UserFolder.h"

#include "SettingsFiles.h"
#include "XdgDirectories.h"

#include <filesystem>
#include <system_error>

namespace config {

std::string PrepareUserFolder(std::string_view relative) {
    const std::string home = platform::ConfigHomeDirectory();
    std::error_code ignored;
    std::filesystem::create_directories(home, ignored);
    // Each '/' ends one level: the part of the relative path before it, appended to the folder.
    for (std::size_t slash = relative.find('/'); slash != std::string_view::npos;
         slash = relative.find('/', slash + 1)) {
        const std::string level = home + std::string(relative.substr(0, slash));
        if (!std::filesystem::is_directory(level, ignored)) {
            std::filesystem::create_directory(level, ignored);
        }
    }
    return home + std::string(relative);
}

void PrepareUserDataFolders() {
    g_userDataDir = PrepareUserFolder(kUserDataFolder);
    for (const std::string_view sub : {"Macros/", "Profiles/", "MousePads/"}) {
        PrepareUserFolder(std::string(kUserDataFolder) + std::string(sub));
    }
}

}  // namespace config
