#include "FrequencyTables.h"

#include "LEDConvDlg.h"

namespace config {

DialogTableSender::DialogTableSender(CUSBDriver* link, QWidget* parent)
    : commands_(link != nullptr ? std::make_unique<LinkTableCommands>(*link) : nullptr),
      dialog_(std::make_unique<CLEDConvDlg>(commands_.get(), parent)) {}

DialogTableSender::~DialogTableSender() = default;

void DialogTableSender::ApplyFrequencies(const std::array<int, kTableChannelCount>& hertz) {
    dialog_->ApplyFrequencies(hertz);
}

}  // namespace config
