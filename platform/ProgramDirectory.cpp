#include "ProgramDirectory.h"

#include <unistd.h>

#include <vector>

namespace platform {

namespace {

// The target of /proc/self/exe; readlink gives no length up front, so the buffer grows until the
// whole path fits.
std::string ExecutablePath() {
    std::vector<char> buffer(256);
    for (;;) {
        const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0) {
            return {};
        }
        if (static_cast<size_t>(length) < buffer.size()) {
            return std::string(buffer.data(), static_cast<size_t>(length));
        }
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace

std::string ProgramDirectory() {
    const std::string path = ExecutablePath();
    const std::string::size_type slash = path.rfind('/');
    if (slash == std::string::npos) {
        return {};
    }
    return path.substr(0, slash + 1);
}

}  // namespace platform
