// The program the updater starts again after a successful update: its own folder followed by the
// restart path it was given, which may use either separator.
#pragma once

#include <QString>

namespace updater {

// `updaterFolder` ends with '/'. Backslashes in `restartPath` become '/'.
QString restartTarget(const QString& updaterFolder, const QString& restartPath);

}  // namespace updater
