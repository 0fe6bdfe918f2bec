#include "FirmwareDecision.h"

#include "firmware/ImageSelection.h"

namespace fwstatus {

int CompareFirmware(int selectedEntry, const firmware::FirmwareInfoBlock& package,
                    const firmware::Version& onController) {
    if (selectedEntry < 0 || selectedEntry >= static_cast<int>(firmware::kPackageEntryCount)) return kCannotTell;
    if (onController.isNone()) return kNoUpdate;
    return firmware::isNewer(package.entries[selectedEntry], onController) ? kUpdateAvailable : kNoUpdate;
}

PromptDecision DecidePrompt(ControllerMode mode, int checkResult, bool startedByUpdater) {
    if (mode == ControllerMode::BootLoader) return PromptDecision::AtOnce;
    if (checkResult == kUpdateAvailable || startedByUpdater) return PromptDecision::Mandatory;
    return PromptDecision::None;
}

PromptButtons PromptButtonsFor(int checkResult, int selectedEntry) {
    if (checkResult == kUpdateAvailable) return {.updateEnabled = true, .okEnabled = false, .updateRequired = true};
    const bool canUpdate = checkResult == kNoUpdate && selectedEntry >= 0;
    return {.updateEnabled = canUpdate, .okEnabled = true, .updateRequired = false};
}

int CloseResult(bool updateRequired) { return updateRequired ? kPromptLeave : kPromptContinue; }

bool PromptEndsProgram(ControllerMode mode, int promptResult) {
    if (mode == ControllerMode::BootLoader) return true;
    return promptResult == kPromptLeave || promptResult == kPromptStartUpdater;
}

}  // namespace fwstatus
