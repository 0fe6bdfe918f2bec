// The firmware prompt as the main window runs it: closes an open prompt, shows a new one modally over
// the main window and, when the update is confirmed, starts the updater and closes the main window.
//
// The main window calls, on a controller's arrival:
//     const int check = fwstatus::CheckFirmware(link, setup.updaterProgram, messages).result;
//     switch (fwstatus::DecidePrompt(mode, check, restartedAfterUpdate)) { ... }
//     const int result = fwstatus::RunFirmwarePrompt(this, link, setup);
//     if (fwstatus::PromptEndsProgram(mode, result)) ...
#pragma once

#include "InfoDlg.h"
#include "UpdaterLaunch.h"

#include <functional>

class QWidget;

namespace config {
class CUSBDriver;
}

namespace fwstatus {

struct PromptSetup {
    CInfoDlg::Setup prompt;
    UpdaterCommand updater;
    UpdaterLaunchHooks launch;
    // Shows the prompt modally and returns its result: the main window's dimming overlay, or exec().
    std::function<int(CInfoDlg& prompt)> showModal;
    // Called before the updater is started (the main window's updater-started flag).
    std::function<void()> onUpdaterStarting;
};

// The setup for the running program: the updater in the program folder, the package messages in
// message boxes over `mainWindow`, and the platform's process start. `messages` must outlive its use.
PromptSetup DefaultPromptSetup(firmware::PackageMessageSink& messages);

// Closes every top-level window named config::kWarnDlgTitle; true when there was one.
bool CloseOpenPrompts();

// Returns the prompt's result: 1, 2 or 6 (see InfoDlg.h). On 6 the updater has been launched and the
// main window asked to close.
int RunFirmwarePrompt(QWidget* mainWindow, config::CUSBDriver& link, const PromptSetup& setup);

}  // namespace fwstatus
