// The updater's result page: a modal, frameless page whose pictures carry the whole message.
//   code 1  the update succeeded
//   code 2  the update failed
//   code 3  the controller already runs the newest firmware
// It is sized to its background, shaped by the result outline, and has the two image buttons of the
// layout's SUCCESS records (the same for every code); either one closes it. Dragging anywhere on the
// page moves it.
#pragma once

#include "BaseDlg.h"
#include "BitmapBtn.h"

#include <QImage>
#include <QString>

namespace updater {

struct UpdaterLayout;

class CWarning : public skin::CBaseDlg {
    Q_OBJECT

public:
    static constexpr int kSuccess = 1;
    static constexpr int kFailed = 2;
    static constexpr int kAlreadyCurrent = 3;

    CWarning(int code, const UpdaterLayout& layout, QWidget* parent = nullptr);

    int Code() const { return code_; }
    // The page's message in words (the pictures show it; this is the page's accessible text).
    static QString MessageText(int code);
    // The window title people see on the task bar: what the page's picture says.
    static QString WindowTitle(int code);

    skin::CBitmapBtn& OkButton() { return okButton_; }
    skin::CBitmapBtn& CloseButton() { return closeButton_; }

protected:
    void LoadSkin() override;
    void DrawSkinContent(QPainter& painter) override;

private:
    int code_;
    const UpdaterLayout& layout_;
    QImage background_;
    skin::CBitmapBtn okButton_;
    skin::CBitmapBtn closeButton_;
};

}  // namespace updater
