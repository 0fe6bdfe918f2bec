#include "LoadingDlg.h"

#include "PopupWindows.h"
#include "SkinAttributes.h"
#include "SkinKeys.h"

#include <QThread>

namespace config {

CLoadingDlg::CLoadingDlg(QWidget* parent) : CProgressPage(parent) {
    SetSectionName(skin::ToQString(skindocs::keys::kLoadKeyboard));
    SetImageFolderName(skin::ToQString(skindocs::kPopDlgFolder));
    SetBarTop(kBarTop);
    readTimer_.setSingleShot(true);
    // The read waits the full second: a coarse timer may fire up to 5 % early.
    readTimer_.setTimerType(Qt::PreciseTimer);
    connect(&readTimer_, &QTimer::timeout, this, &CLoadingDlg::ReadProfile);
}

CLoadingDlg::~CLoadingDlg() = default;

void CLoadingDlg::InitDialog() {
    CProgressPage::InitDialog();
    MarkAsWarnDlg(*this);
    LoadBarPicture();
    CentreOnParent(*this);
    setWindowFlag(Qt::WindowStaysOnTopHint);
    readTimer_.start(kReadDelayMs);
}

void CLoadingDlg::ReadProfile() {
    const int result = reader_ ? reader_(profile_) : 1;
    QThread::msleep(100);
    done(result == 0 ? 1 : 2);
}

void CLoadingDlg::reject() {
    readTimer_.stop();
    done(2);
}

}  // namespace config
