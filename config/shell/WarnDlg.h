// The warning or confirmation pop-up: a title and a message from the string document, OK, Cancel and
// Close buttons from the button document. Ends with 1 for OK, 2 for Cancel or Close.
#pragma once

#include "BaseDlg.h"
#include "BitmapBtn.h"
#include "PopupWindows.h"

namespace config {

class CWarnDlg : public skin::CBaseDlg {
    Q_OBJECT
public:
    static constexpr int kOkResult = 1;
    static constexpr int kCancelResult = 2;

    explicit CWarnDlg(QWidget* parent = nullptr);
    ~CWarnDlg() override;

    // The page's section (pictures) and the section of the button records; an empty button section
    // means the page's section.
    void SetSections(const QString& section, const QString& buttonSection = {});
    // The section of the texts STR_TITLE and STR_WARN and their placement.
    void SetMessage(const QString& messageSection) { messageSection_ = messageSection; }

    const QString& ButtonSection() const { return buttonSection_; }
    const QString& MessageSection() const { return messageSection_; }
    skin::CBitmapBtn& OkButton() { return ok_; }
    skin::CBitmapBtn& CancelButton() { return cancel_; }
    skin::CBitmapBtn& CloseButton() { return close_; }

    // A close from outside (the main window closing its warnings) ends it like Cancel.
    void reject() override;

protected:
    void InitDialog() override;
    void LoadSkin() override;
    void DrawSkinContent(QPainter& painter) override;

private:
    PopupOpenMark popupOpen_;
    void OnCommand(int code, skin::CBitmapBtn* sender);

    skin::CBitmapBtn ok_;
    skin::CBitmapBtn cancel_;
    skin::CBitmapBtn close_;
    QString buttonSection_;
    QString messageSection_;
};

}  // namespace config
