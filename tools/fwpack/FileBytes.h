// Whole-file reads and atomic whole-file writes for the package tool. Failures are FileError
// exceptions, which never leave the tool: main reports them and exits with status 1.
#pragma once

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <vector>

namespace fwpack {

class FileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

std::vector<std::uint8_t> readFileBytes(const std::filesystem::path& path);

// Writes the bytes to a temporary file beside `path` and renames it over `path`, so the file is never
// half written and may be the one the bytes were read from. The new file gets the permissions of
// `permissionsFrom` (e.g. the executable bit) when that is given.
void replaceFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes,
                 const std::filesystem::path& permissionsFrom);

}  // namespace fwpack
