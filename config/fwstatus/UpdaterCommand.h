// The command line that starts the updater from the configuration program: the updater in the program
// folder, told with "true" to start the configuration program again, relative to the updater's own
// folder, once it has finished.
#pragma once

#include <QString>
#include <QStringList>

#include <string_view>

namespace fwstatus {

struct UpdaterCommand {
    QString program;
    QStringList arguments;
    bool operator==(const UpdaterCommand&) const = default;
};

// `programFileName` is the configuration program's own file name ("halcyra").
UpdaterCommand MakeUpdaterCommand(std::string_view programDir, const QString& programFileName);

// The command for the running program: its folder and its own file name.
UpdaterCommand RunningUpdaterCommand();

}  // namespace fwstatus
