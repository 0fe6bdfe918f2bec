#include "FirmwarePrompt.h"

#include "PopupWindows.h"
#include "FirmwareDecision.h"
#include "ProgramDirectory.h"

#include <QApplication>
#include <QMetaObject>
#include <QWidget>

namespace fwstatus {

PromptSetup DefaultPromptSetup(firmware::PackageMessageSink& messages) {
    PromptSetup setup;
    setup.prompt.updaterProgram = UpdaterProgramPath(platform::ProgramDirectory());
    setup.prompt.messages = &messages;
    setup.updater = RunningUpdaterCommand();
    setup.launch = DefaultUpdaterLaunchHooks();
    return setup;
}

int RunFirmwarePrompt(QWidget* mainWindow, config::CUSBDriver& link, const PromptSetup& setup) {
    CInfoDlg prompt(link, setup.prompt, mainWindow);
    const int result = setup.showModal ? setup.showModal(prompt) : prompt.exec();
    if (result == kPromptStartUpdater && LaunchUpdater(mainWindow, setup.updater, setup.launch) &&
        setup.onUpdaterStarted) {
        setup.onUpdaterStarted();
    }
    return result;
}

}  // namespace fwstatus
