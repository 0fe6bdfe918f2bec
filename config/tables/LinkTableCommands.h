// The table generator's commands sent through the configuration program's controller link.
#pragma once

#include "CUSBDriver.h"
#include "TableLink.h"

namespace config {

class LinkTableCommands : public TableCommandLink {
public:
    // The link must outlive this object.
    explicit LinkTableCommands(CUSBDriver& link) : link_(link) {}

    int SetMode(std::uint8_t mode) override { return link_.SetMode(mode); }
    int SetPwmConfig(std::span<const std::uint8_t, kTablePayloadSize> payload) override {
        return link_.SetPwmConfig(payload);
    }
    int SetConversionTable(std::uint16_t page, std::span<const std::uint8_t, kTablePayloadSize> data) override {
        return link_.SetConversionTable(page, data);
    }

private:
    CUSBDriver& link_;
};

}  // namespace config
