// The controller commands of the LED page: the live preview of an effect, the send of the effect being
// edited (the sending half of the page's Apply), and the frequency save. Every command is skipped
// while no controller is open; failures are not reported (the view shows the record, not the
// controller).
#pragma once

#include "FrequencyTables.h"
#include "ProfileRecord.h"

#include <cstdint>

namespace config {

class CUSBDriver;

class CLedCommands {
public:
    // Both may be null (nothing is sent, or there is no record yet); both must outlive this object.
    void SetTargets(CUSBDriver* link, SettingsBlock* working) {
        link_ = link;
        working_ = working;
    }
    bool ControllerOpen() const;

    // SetMode (0x80), then the effect of list index `effect` made active; CUSTOMIZE first sends its
    // colour mode and per-LED colours.
    void PreviewEffect(int effect);
    // The edited effect's parameters: per-LED colours for CUSTOMIZE, the layer map for MULTILAYER,
    // nothing for OFF, else the entry built from the base layer (CUSTOMIZE's first colour being
    // `currentColor`); the star effect is made active again.
    void SendEditedEffect(int effect, std::uint32_t currentColor);
    // The frequency save: SetMode (3), SelectProfile, the tables of `hertz` through `tables`, then the
    // working block (marked valid first) as profile block 0 and StoreSettings.
    void SaveFrequencies(const std::array<int, 6>& hertz, FrequencyTableSender& tables);

private:
    LightingSection* Section() const;

    CUSBDriver* link_ = nullptr;
    SettingsBlock* working_ = nullptr;
};

}  // namespace config
