#include "LedDlg.h"

namespace config {

CLedDlg::CLedDlg(QWidget* parent) : skin::CBaseDlg(parent) {
    SetSectionName(QStringLiteral("LED"));
}

CLedDlg::~CLedDlg() = default;

void CLedDlg::SetSettings(CUSBDriver* link, SettingsBlock* working, SettingsBlock* saved) {
    link_ = link;
    working_ = working;
    saved_ = saved;
}

void CLedDlg::SelectEffect(int index) {
    currentEffect_ = index;
}

QWidget* CLedDlg::FirstLedButton() const {
    return nullptr;
}

}  // namespace config
