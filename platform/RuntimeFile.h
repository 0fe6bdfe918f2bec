// Names of per-session files (lock files, sockets) in the runtime folder.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// <runtime folder>/<name>. Nothing when `name` cannot be a single file name: empty, "." or "..", or
// containing '/' or a NUL character (such a name would reach outside the folder or be cut short).
std::optional<std::string> RuntimeFilePath(std::string_view name);

}  // namespace platform
