#include "FrequencyTables.h"

#include "DebugOutput.h"

namespace config {

EngineTableSender::EngineTableSender(CUSBDriver* link)
    : commands_(link != nullptr ? std::make_unique<LinkTableCommands>(*link) : nullptr),
      engine_(*this, commands_.get()) {}

void EngineTableSender::ApplyFrequencies(const std::array<int, kTableChannelCount>& hertz) {
    engine_.ApplyFrequencies(hertz);
}

void EngineTableSender::ShowMessage(std::string_view text) { platform::DebugOutput(text); }

}  // namespace config
