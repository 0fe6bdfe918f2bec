// The flash of one target: erased bytes read 0xFF, erasing works on whole pages, and programming can
// only clear bits (a write over data that was not erased ANDs into it, as on real flash).
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace simulator {

class Flash {
public:
    Flash(std::uint32_t pageBytes, std::uint32_t pageCount);

    std::uint32_t size() const { return static_cast<std::uint32_t>(bytes_.size()); }
    std::uint32_t pageBytes() const { return pageBytes_; }
    bool contains(std::uint32_t start, std::uint32_t length) const;

    // Erases every page that [start, start + length) touches; false (nothing erased) outside the flash.
    bool erase(std::uint32_t start, std::uint32_t length);
    // Programs data at address; false (nothing written) when it does not fit.
    bool program(std::uint32_t address, std::span<const std::uint8_t> data);
    // Sets the contents directly, as a factory programmer does; false when it does not fit.
    bool load(std::uint32_t address, std::span<const std::uint8_t> data);

    std::span<const std::uint8_t> bytes() const { return bytes_; }
    std::span<const std::uint8_t> region(std::uint32_t start, std::uint32_t length) const;

private:
    std::uint32_t pageBytes_;
    std::vector<std::uint8_t> bytes_;
};

}  // namespace simulator
