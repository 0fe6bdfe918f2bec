// Test support for the table generator: a controller link that records the commands it is given,
// and a message box that records the texts it is asked to show.
#pragma once

#include "TableLink.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

namespace config_test {

using Payload = std::array<std::uint8_t, 60>;

struct Sent {
    enum Kind { Mode, Pwm, Conversion } kind;
    std::uint16_t page = 0;
    Payload data{};
};

class RecordingLink : public config::TableCommandLink {
public:
    std::vector<Sent> sent;
    int SetMode(std::uint8_t mode) override {
        sent.push_back({Sent::Mode, mode, {}});
        return 0;
    }
    int SetPwmConfig(std::span<const std::uint8_t, 60> payload) override {
        sent.push_back({Sent::Pwm, 0, ToArray(payload)});
        return 0;
    }
    int SetConversionTable(std::uint16_t page, std::span<const std::uint8_t, 60> data) override {
        sent.push_back({Sent::Conversion, page, ToArray(data)});
        return 0;
    }
    std::vector<Sent> Of(Sent::Kind kind) const {
        std::vector<Sent> result;
        std::copy_if(sent.begin(), sent.end(), std::back_inserter(result), [&](const Sent& s) { return s.kind == kind; });
        return result;
    }

private:
    static Payload ToArray(std::span<const std::uint8_t, 60> bytes) {
        Payload a;
        std::copy(bytes.begin(), bytes.end(), a.begin());
        return a;
    }
};

class RecordingMessages : public config::TableMessageBox {
public:
    std::vector<std::string> shown;
    void ShowMessage(std::string_view text) override { shown.emplace_back(text); }
};

}  // namespace config_test
