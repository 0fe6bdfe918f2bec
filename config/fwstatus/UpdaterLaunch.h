// Starting the updater from the configuration program, then asking the main window to close. When the
// updater cannot be started, the person is told why before the program closes.
#pragma once

#include "UpdaterCommand.h"

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

namespace fwstatus {

struct UpdaterLaunchHooks {
    // Starts a detached process (platform::StartDetached unless replaced).
    std::function<bool(const QString& program, const QStringList& arguments)> start;
    // Tells the person that the updater did not start (a message box over the main window unless replaced).
    std::function<void(QWidget* mainWindow, const QString& message)> reportFailure;
};

UpdaterLaunchHooks DefaultUpdaterLaunchHooks();

// The message shown when `program` could not be started.
QString UpdaterStartFailureMessage(const QString& program);

// Brings the main window to the front, starts the updater, reports a failure, and posts a close to the
// main window either way. Returns whether the updater was started.
bool LaunchUpdater(QWidget* mainWindow, const UpdaterCommand& command, const UpdaterLaunchHooks& hooks);

}  // namespace fwstatus
