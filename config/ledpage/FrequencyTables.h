// Where the LED page sends the six output frequencies: the engineering table generator, which turns
// them into the controller's PWM reload and LED convert tables and sends those. The page holds it
// through this interface so the generator's hidden dialog can take the place of the bare engine.
#pragma once

#include "CLEDConvEngine.h"
#include "LinkTableCommands.h"

#include <array>
#include <memory>

namespace config {

class CUSBDriver;

class FrequencyTableSender {
public:
    virtual ~FrequencyTableSender() = default;
    // Generates and sends the tables for the six output frequencies.
    virtual void ApplyFrequencies(const std::array<int, kTableChannelCount>& hertz) = 0;
};

// The generator's engine on the controller link, its input messages going to the debugger output
// (the page's frequencies lie in 45-600 Hz or are 1000 Hz, so the engine never has to refuse them).
class EngineTableSender final : public FrequencyTableSender, private TableMessageBox {
public:
    // A null link gives an engine that sends nothing.
    explicit EngineTableSender(CUSBDriver* link);
    void ApplyFrequencies(const std::array<int, kTableChannelCount>& hertz) override;
    CLEDConvEngine& Engine() { return engine_; }

private:
    void ShowMessage(std::string_view text) override;

    std::unique_ptr<LinkTableCommands> commands_;
    CLEDConvEngine engine_;
};

}  // namespace config
