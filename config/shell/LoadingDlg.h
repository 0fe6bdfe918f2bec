// The loading pop-up: shows for one second, then reads the controller's profile lighting while its bar
// advances, and ends with 1 when the read succeeded, 2 when it failed or no reader was given.
#pragma once

#include "PopupWindows.h"
#include "ProgressPage.h"

#include <QTimer>

#include <functional>

namespace config {

class CLoadingDlg : public CProgressPage {
    Q_OBJECT
public:
    static constexpr int kBarTop = 558;
    static constexpr int kReadDelayMs = 1000;

    // Reads the lighting of a profile (-1: the one the controller reports); 0 on success. The main
    // window runs its lighting transfer here and forwards the transfer's progress to SetProgress.
    using ProfileReader = std::function<int(int profile)>;

    explicit CLoadingDlg(QWidget* parent = nullptr);
    ~CLoadingDlg() override;

    void SetProfileReader(ProfileReader reader) { reader_ = std::move(reader); }
    void SetProfileIndex(int profile) { profile_ = profile; }
    int ProfileIndex() const { return profile_; }

    // A close from outside (the main window closing its warnings) ends it as a failed read.
    void reject() override;

protected:
    void InitDialog() override;

private:
    PopupOpenMark popupOpen_;
    void ReadProfile();

    ProfileReader reader_;
    int profile_ = -1;
    QTimer readTimer_;
};

}  // namespace config
