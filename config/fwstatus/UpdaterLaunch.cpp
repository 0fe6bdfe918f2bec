#include "UpdaterLaunch.h"

#include "DetachedProcess.h"

#include <QMessageBox>
#include <QMetaObject>
#include <QWidget>

namespace fwstatus {

UpdaterLaunchHooks DefaultUpdaterLaunchHooks() {
    return {
        .start = [](const QString& program,
                    const QStringList& arguments) { return platform::StartDetached(program, arguments); },
        .reportFailure =
            [](QWidget* mainWindow, const QString& message) {
                QMessageBox::critical(mainWindow, QStringLiteral("Halcyra"), message);
            },
    };
}

QString UpdaterStartFailureMessage(const QString& program) {
    return QStringLiteral("The firmware updater could not be started:\n%1\n\n"
                          "Halcyra closes now. Start the updater from that folder to update the controller.")
        .arg(program);
}

bool LaunchUpdater(QWidget* mainWindow, const UpdaterCommand& command, const UpdaterLaunchHooks& hooks) {
    // The updater's window opens in front of ours.
    if (mainWindow != nullptr) {
        mainWindow->raise();
        mainWindow->activateWindow();
    }
    const bool started = hooks.start(command.program, command.arguments);
    if (!started && hooks.reportFailure) hooks.reportFailure(mainWindow, UpdaterStartFailureMessage(command.program));
    if (mainWindow != nullptr) QMetaObject::invokeMethod(mainWindow, &QWidget::close, Qt::QueuedConnection);
    return started;
}

}  // namespace fwstatus
