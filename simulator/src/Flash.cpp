#include "simulator/Flash.h"

#include <algorithm>

namespace simulator {

Flash::Flash(std::uint32_t pageBytes, std::uint32_t pageCount)
    : pageBytes_(pageBytes == 0 ? 1 : pageBytes), bytes_(std::size_t{pageBytes} * pageCount, 0xFF) {}

bool Flash::contains(std::uint32_t start, std::uint32_t length) const {
    return start <= size() && length <= size() - start;
}

bool Flash::erase(std::uint32_t start, std::uint32_t length) {
    if (!contains(start, length)) return false;
    if (length == 0) return true;
    const std::uint32_t first = start / pageBytes_ * pageBytes_;
    const std::uint32_t end = std::min(size(), (start + length + pageBytes_ - 1) / pageBytes_ * pageBytes_);
    std::fill(bytes_.begin() + first, bytes_.begin() + end, 0xFF);
    return true;
}

bool Flash::program(std::uint32_t address, std::span<const std::uint8_t> data) {
    if (!contains(address, static_cast<std::uint32_t>(data.size()))) return false;
    for (std::size_t i = 0; i < data.size(); ++i) bytes_[address + i] &= data[i];
    return true;
}

bool Flash::load(std::uint32_t address, std::span<const std::uint8_t> data) {
    if (!contains(address, static_cast<std::uint32_t>(data.size()))) return false;
    std::copy(data.begin(), data.end(), bytes_.begin() + address);
    return true;
}

std::span<const std::uint8_t> Flash::region(std::uint32_t start, std::uint32_t length) const {
    if (!contains(start, length)) return {};
    return std::span<const std::uint8_t>(bytes_).subspan(start, length);
}

}  // namespace simulator
