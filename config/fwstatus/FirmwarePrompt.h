// The firmware prompt as the main window runs it: shows a prompt modally over the main window and,
// when the update is confirmed, starts the updater and closes the main window. The main window has
// closed its open warnings and prompts before (PopupWindows.h).
//
// On the controller's arrival the main window runs fwstatus::CheckFirmware, asks
// fwstatus::DecidePrompt whether to prompt, and after fwstatus::RunFirmwarePrompt asks
// fwstatus::PromptEndsProgram whether the program ends; a controller in its boot loader is prompted
// at once.
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
    // Called once the updater has started (the main window's updater-started flag); not when its
    // start failed, so that the program still hands the controller back.
    std::function<void()> onUpdaterStarted;
};

// The setup for the running program: the updater in the program folder, the package messages in
// message boxes over `mainWindow`, and the platform's process start. `messages` must outlive its use.
PromptSetup DefaultPromptSetup(firmware::PackageMessageSink& messages);

// Returns the prompt's result: 1, 2 or 6 (see InfoDlg.h). On 6 the updater has been launched and the
// main window asked to close.
int RunFirmwarePrompt(QWidget* mainWindow, config::CUSBDriver& link, const PromptSetup& setup);

}  // namespace fwstatus
