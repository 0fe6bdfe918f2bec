// What the table generator needs from the controller link and from the window around it, as
// interfaces, so the engine runs without either: the controller commands it sends, and the
// application message box that reports input errors.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace config {

inline constexpr std::size_t kTablePayloadSize = 60;

class TableCommandLink {
public:
    virtual ~TableCommandLink() = default;
    // The controller commands (0 success, 1 failure; the generator does not report failures).
    virtual int SetMode(std::uint8_t mode) = 0;
    virtual int SetPwmConfig(std::span<const std::uint8_t, kTablePayloadSize> payload) = 0;
    virtual int SetConversionTable(std::uint16_t page, std::span<const std::uint8_t, kTablePayloadSize> data) = 0;
};

class TableMessageBox {
public:
    virtual ~TableMessageBox() = default;
    virtual void ShowMessage(std::string_view text) = 0;
};

}  // namespace config
