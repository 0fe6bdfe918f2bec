#include "FileBytes.h"

#include <fstream>

namespace fwpack {

std::vector<std::uint8_t> readFileBytes(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    if (!file || error) throw FileError("cannot read " + path.string());
    std::vector<std::uint8_t> bytes(size);
    file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (static_cast<std::uintmax_t>(file.gcount()) != size) throw FileError("cannot read " + path.string());
    return bytes;
}

void replaceFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes,
                 const std::filesystem::path& permissionsFrom) {
    const std::filesystem::path temporary = path.string() + ".fwpack-tmp";
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        file.flush();
        if (!file) {
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            throw FileError("cannot write " + temporary.string());
        }
    }
    std::error_code error;
    if (!permissionsFrom.empty())
        std::filesystem::permissions(temporary, std::filesystem::status(permissionsFrom).permissions(), error);
    if (!error) std::filesystem::rename(temporary, path, error);
    if (error) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        throw FileError("cannot write " + path.string() + ": " + error.message());
    }
}

}  // namespace fwpack
