#include "FrequencyTables.h"

#include "LEDConvDlg.h"

namespace config {

DialogTableSender::DialogTableSender(CUSBDriver* link, QWidget* parent)
    : parent_(parent), commands_(link != nullptr ? std::make_unique<LinkTableCommands>(*link) : nullptr) {}

DialogTableSender::~DialogTableSender() = default;

CLEDConvDlg& DialogTableSender::Dialog() {
    if (!dialog_) dialog_ = std::make_unique<CLEDConvDlg>(commands_.get(), parent_);
    return *dialog_;
}

void DialogTableSender::ApplyFrequencies(const std::array<int, kTableChannelCount>& hertz) {
    Dialog().ApplyFrequencies(hertz);
}

}  // namespace config
