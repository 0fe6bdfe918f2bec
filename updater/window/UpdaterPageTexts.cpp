#include "UpdaterPageTexts.h"

#include "TessaflashDlg.h"
#include "WarningDlg.h"

namespace updater {

QString ConfirmPageText(const PageTexts& texts) {
    QString text = QStringLiteral("Firmware update. ");
    if (!texts.layoutName.isEmpty()) text += texts.layoutName + QStringLiteral(". ");
    text += QStringLiteral("Installed: %1. New: %2. ").arg(texts.currentVersion, texts.updateVersion);
    text += QStringLiteral("Press OK to update the controller's firmware. The update takes about a minute. "
                           "Do not power down or unplug the controller during the update.");
    return text;
}

QString ResultPageText(int code) {
    switch (code) {
    case CWarning::kSuccess:
        return QStringLiteral("Firmware update complete. Your controller is up to date. Press OK to exit.");
    case CWarning::kAlreadyCurrent:
        return QStringLiteral("Firmware is up to date. The latest firmware is already installed. Press OK to exit.");
    default:
        return QStringLiteral(
            "Firmware update failed. The installation did not complete. Reconnect the controller and try again.");
    }
}

QString OkButtonName() { return QStringLiteral("OK"); }

QString AbortButtonName() { return QStringLiteral("Abort"); }

QString CloseButtonName() { return QStringLiteral("Close"); }

}  // namespace updater
