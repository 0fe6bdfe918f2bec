#include "RuntimeFile.h"

#include "XdgDirectories.h"

namespace platform {

std::optional<std::string> RuntimeFilePath(std::string_view name) {
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string_view::npos ||
        name.find('\0') != std::string_view::npos) {
        return std::nullopt;
    }
    std::string folder = RuntimeDirectory();
    if (folder != "/") {
        folder += '/';
    }
    return folder.append(name);
}

}  // namespace platform
