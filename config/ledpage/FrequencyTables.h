// Where the LED page sends the six output frequencies: the engineering table generator, which turns
// them into the controller's PWM reload and LED convert tables and sends those. The page holds it
// through this interface (tests put a recorder in its place).
#pragma once

#include "CLEDConvEngine.h"
#include "LinkTableCommands.h"

#include <array>
#include <memory>

class QWidget;

namespace config {

class CLEDConvDlg;
class CUSBDriver;

class FrequencyTableSender {
public:
    virtual ~FrequencyTableSender() = default;
    // Generates and sends the tables for the six output frequencies.
    virtual void ApplyFrequencies(const std::array<int, kTableChannelCount>& hertz) = 0;
};

// The table generator's dialog, a hidden child of the page on the controller link. It is made when the
// first tables are sent, not with the page: it is never shown, and building its many standard widgets
// would only delay the program's first window.
class DialogTableSender final : public FrequencyTableSender {
public:
    // A null link gives a generator that sends nothing. The link and the parent must outlive this object.
    DialogTableSender(CUSBDriver* link, QWidget* parent);
    ~DialogTableSender() override;
    void ApplyFrequencies(const std::array<int, kTableChannelCount>& hertz) override;
    // The dialog, made now if no tables were sent yet.
    CLEDConvDlg& Dialog();
    // The dialog once made, else nullptr.
    CLEDConvDlg* MadeDialog() const { return dialog_.get(); }

private:
    QWidget* parent_;
    std::unique_ptr<LinkTableCommands> commands_;
    std::unique_ptr<CLEDConvDlg> dialog_;  // destroyed before the commands it sends through
};

}  // namespace config
