// What the configuration program does with a controller's firmware: the result of the firmware check,
// whether the firmware prompt opens, how its buttons start, and which prompt results end the program.
// Plain decisions on numbers, so they are tested without a window or a controller.
#pragma once

#include "firmware/ControllerRecords.h"
#include "firmware/PackageLayout.h"

namespace fwstatus {

// Results of the firmware check.
inline constexpr int kUpdateAvailable = -1;
inline constexpr int kNoUpdate = 0;
inline constexpr int kCannotTell = 1;  // no package entry fits, or the records could not be fetched

// Results of the firmware prompt (the modal result of CInfoDlg).
inline constexpr int kPromptContinue = 1;      // closed while no update is required
inline constexpr int kPromptLeave = 2;         // closed while an update is required
inline constexpr int kPromptStartUpdater = 6;  // update confirmed

// The last step of the check: the selected entry (0-8, or negative when none fits or the records were
// not fetched) against the version the controller reports in APInfo.
int CompareFirmware(int selectedEntry, const firmware::FirmwareInfoBlock& package,
                    const firmware::Version& onController);

enum class ControllerMode { Application, BootLoader };

enum class PromptDecision {
    None,       // go on with the controller
    Mandatory,  // an update is required: the prompt offers only the update or leaving the program
    AtOnce,     // the controller waits in its boot loader: the program cannot work with it
};

// On a controller's arrival. `startedByUpdater` is the restarted-after-update flag of the main window:
// the program was started by the updater, so the prompt shows the result of the update.
PromptDecision DecidePrompt(ControllerMode mode, int checkResult, bool startedByUpdater);

struct PromptButtons {
    bool updateEnabled;
    bool okEnabled;
    bool updateRequired;
    bool operator==(const PromptButtons&) const = default;
};

// How the prompt's buttons start, from the check it ran on opening.
PromptButtons PromptButtonsFor(int checkResult, int selectedEntry);

// The result of closing the prompt without an update (BUTTON_CLOSE or the window being closed).
int CloseResult(bool updateRequired);

// Whether the prompt's result ends the configuration program.
bool PromptEndsProgram(ControllerMode mode, int promptResult);

}  // namespace fwstatus
