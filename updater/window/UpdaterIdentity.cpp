#include "UpdaterIdentity.h"

#include <QGuiApplication>

namespace updater {

void SetUpdaterIdentity() {
    QGuiApplication::setApplicationName(QStringLiteral("Tessaflash"));
    QGuiApplication::setDesktopFileName(QStringLiteral("com.marovell.Tessaflash"));
}

}  // namespace updater
