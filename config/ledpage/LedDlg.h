// The LED page: the main window's one child page, on which the person edits the lighting of the
// current profile and sees every change on the controller at once. Skin section "LED".
//
// The main window hands it the controller link and both copies of the settings block before it
// creates the page (CreateSkinPage with kChildTemplate), and calls SelectEffect after reading the
// controller, after an event report and after applying.
#pragma once

#include "BaseDlg.h"

class QAbstractButton;

namespace config {

class CUSBDriver;
struct SettingsBlock;

class CLedDlg : public skin::CBaseDlg {
    Q_OBJECT
public:
    explicit CLedDlg(QWidget* parent = nullptr);
    ~CLedDlg() override;

    // The references the page works on; all must outlive the page. Set before CreateSkinPage.
    void SetSettings(CUSBDriver* link, SettingsBlock* working, SettingsBlock* saved);
    // Whether the page has been given its working copy.
    bool HasWorkingCopy() const { return working_ != nullptr; }

    // Shows effect `index` of the effect list (0-6) for the current profile.
    void SelectEffect(int index);
    int CurrentEffect() const { return currentEffect_; }

    // The button of LED 1, which the main window shows with the page; nullptr before the page is created.
    QWidget* FirstLedButton() const;

private:
    CUSBDriver* link_ = nullptr;
    SettingsBlock* working_ = nullptr;
    SettingsBlock* saved_ = nullptr;
    int currentEffect_ = 0;
};

}  // namespace config
