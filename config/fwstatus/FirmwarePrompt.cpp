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

bool CloseOpenPrompts() {
    bool found = false;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->objectName() != config::kWarnDlgTitle) continue;
        found = true;
        QMetaObject::invokeMethod(window, &QWidget::close, Qt::QueuedConnection);
    }
    return found;
}

int RunFirmwarePrompt(QWidget* mainWindow, config::CUSBDriver& link, const PromptSetup& setup) {
    CloseOpenPrompts();
    CInfoDlg prompt(link, setup.prompt, mainWindow);
    const int result = setup.showModal ? setup.showModal(prompt) : prompt.exec();
    if (result == kPromptStartUpdater) {
        if (setup.onUpdaterStarting) setup.onUpdaterStarting();
        LaunchUpdater(mainWindow, setup.updater, setup.launch);
    }
    return result;
}

}  // namespace fwstatus
