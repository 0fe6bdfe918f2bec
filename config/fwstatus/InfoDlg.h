// The firmware information prompt: the program's version, the controller's firmware version and the
// version the updater brings, with the choice to start the updater. When an update is required it
// offers only the update or leaving the program.
//
// Opening it runs the firmware check through its link. Modal results (FirmwareDecision.h):
//   1  closed while no update is required (BUTTON_OK, BUTTON_CLOSE)
//   2  closed while an update is required (BUTTON_CLOSE, or the window being closed)
//   6  BUTTON_UPDATE, confirmed
// Its internal name is the pop-ups' kWarnDlgTitle (PopupWindows.h), by which other windows find it.
#pragma once

#include "FirmwareCheck.h"

#include "BaseDlg.h"
#include "BitmapBtn.h"
#include "PopupWindows.h"

#include <QString>

#include <filesystem>
#include <functional>

namespace config {
class CUSBDriver;
}

namespace fwstatus {

class CInfoDlg : public skin::CBaseDlg {
    Q_OBJECT

public:
    struct Setup {
        std::filesystem::path updaterProgram;
        firmware::PackageMessageSink* messages = nullptr;  // message boxes over the prompt when not set
        RecordRetries retries;
        // Asks the person to confirm the update; 1 confirms. The main window shows its confirmation
        // page here. Without one, BUTTON_UPDATE needs no confirmation.
        std::function<int(QWidget* prompt)> confirmUpdate;
    };

    // `link` is the application link or the boot-loader link; it must outlive the prompt.
    // The prompt counts as an open pop-up while it exists (PopupWindows.h): the LED page stops its
    // animation under it.
    CInfoDlg(config::CUSBDriver& link, Setup setup, QWidget* parent = nullptr);

    const FirmwareCheckResult& Check() const { return check_; }
    bool UpdateRequired() const { return buttons_.updateRequired; }

    skin::CBitmapBtn& OkButton() { return okButton_; }
    skin::CBitmapBtn& UpdateButton() { return updateButton_; }
    skin::CBitmapBtn& CloseButton() { return closeButton_; }
    skin::CBitmapBtn& SoftwareLabel() { return softwareLabel_; }
    skin::CBitmapBtn& FirmwareLabel() { return firmwareLabel_; }
    skin::CBitmapBtn& UpdateLabel() { return updateLabel_; }

    // Closing the window counts as BUTTON_CLOSE, so a required update cannot be skipped that way.
    void reject() override;

protected:
    void InitDialog() override;
    void LoadSkin() override;
    void DrawSkinContent(QPainter& painter) override;

private:
    config::PopupOpenMark popupOpen_;
    void CreateVersionLabel(skin::CBitmapBtn& label, std::u16string_view key, const QString& value);
    void OnOk();
    void OnUpdate();
    void CentreOnParent();

    config::CUSBDriver& link_;
    Setup setup_;
    FirmwareCheckResult check_;
    PromptButtons buttons_{.updateEnabled = false, .okEnabled = true, .updateRequired = false};

    skin::CBitmapBtn softwareLabel_;
    skin::CBitmapBtn firmwareLabel_;
    skin::CBitmapBtn updateLabel_;
    skin::CBitmapBtn okButton_;
    skin::CBitmapBtn updateButton_;
    skin::CBitmapBtn closeButton_;
};

}  // namespace fwstatus
