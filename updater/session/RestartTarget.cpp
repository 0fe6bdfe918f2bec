#include "RestartTarget.h"

#include <QDir>

namespace updater {

QString restartTarget(const QString& updaterFolder, const QString& restartPath) {
    QString path = restartPath;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return QDir::cleanPath(updaterFolder + path);
}

}  // namespace updater
