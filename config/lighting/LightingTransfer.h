// The lighting of a profile between the working copy of the settings and the controller: the long
// write and read sequences of the apply button and the loading pop-up, and the smaller sequences they
// share with the LED page's preview (per-LED colours, the multi-layer map).
//
// Every command goes through the controller link. A failed command does not stop a sequence; the
// read reports failure at the end. Runs on the user-interface thread.
#pragma once

#include "CUSBDriver.h"
#include "ProfileRecord.h"

#include <cstdint>

namespace config {

// What the dialog running a sequence is told.
class TransferObserver {
public:
    virtual ~TransferObserver() = default;
    // The progress in percent, each time its integer value changes.
    virtual void ProgressChanged(int /*percent*/) {}
    // Once per profile read: let one pending window message be handled.
    virtual void DispatchPendingMessage() {}
    // The profile the controller reports as current (a read of profile -1).
    virtual void CurrentProfileReported(int /*profile*/) {}
};

class CLightingTransfer {
public:
    // `working` is the working copy; all three must outlive the transfer. The observer may be null.
    CLightingTransfer(CUSBDriver& link, SettingsBlock& working, TransferObserver* observer = nullptr);

    // Sends every effect's parameters, the multi-layer map, the enabled-effect list and the active
    // effect of profile `profile`, advancing the progress from `start` over `span` percent. The caller
    // selects the profile on the controller before and stores the settings after. 0 when every
    // command succeeded, 1 otherwise (also without a record for the profile).
    int WriteProfileLighting(int profile, double start, double span);
    // Fetches the lighting of profile `profile` (-1: the profile the controller reports, read as
    // profile 0). 0 when every counted command succeeded, 1 otherwise.
    int ReadProfileLighting(int profile);
    // The colours of LEDs 1-4 from the CUSTOMIZE record of `layer`, while a controller is open; 1 when
    // none is open or the command failed.
    int SendCustomColors(const EffectLayer& layer);
    // The multi-layer map with its layers' parameters; 0 when every command succeeded, 1 otherwise.
    int WriteLayerMap(int profile);
    void ReadLayerMap(int profile);

private:
    // The record of a profile number; nullptr for numbers the block has no record for.
    LightingSection* Section(int profile);
    void SetProgress(double percent);
    // GetLedColors into the CUSTOMIZE colours of LEDs 1-4 of the layer (only when the read succeeds).
    void FetchLedColors(EffectLayer& layer);
    // GetEffectParams for one code into the layer; the command's result.
    int FetchEffect(std::uint8_t layerNumber, std::uint8_t code, EffectLayer& layer);

    CUSBDriver& link_;
    SettingsBlock& working_;
    TransferObserver* observer_;
    double progress_ = 0.0;
    int shownPercent_ = -1;
};

}  // namespace config
