// The progress pane: a child of the main window, shown while settings are written. Its image folder is
// the main window's resolution folder; its bar starts at LOADING/PROGRESS of the button document.
#pragma once

#include "ProgressPage.h"

namespace config {

class CProgressDlg : public CProgressPage {
    Q_OBJECT
public:
    explicit CProgressDlg(QWidget* parent = nullptr);

protected:
    void InitDialog() override;
};

}  // namespace config
