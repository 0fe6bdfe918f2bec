#include "UpdaterCommand.h"

#include "FirmwareCheck.h"
#include "ProgramDirectory.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace fwstatus {

UpdaterCommand MakeUpdaterCommand(std::string_view programDir, const QString& programFileName) {
    // Each argument reaches the updater as one word, so the quotes of `true "../halcyra"` are not part
    // of the path.
    return {QString::fromStdString(UpdaterProgramPath(programDir).string()),
            {QStringLiteral("true"), QStringLiteral("../") + programFileName}};
}

UpdaterCommand RunningUpdaterCommand() {
    return MakeUpdaterCommand(platform::ProgramDirectory(),
                              QFileInfo(QCoreApplication::applicationFilePath()).fileName());
}

}  // namespace fwstatus
