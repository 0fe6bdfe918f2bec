// The in-place number editor: a small frameless pop-up that a page places over a value button so the
// user can type a value (the LED page's colour channels and frequencies).
//
// It hosts one line edit in the skin's font and colours. Enter or the edit losing the focus (a click
// elsewhere) commits; Escape cancels. A numeric editor takes digits only and clamps the committed
// value into its range. When editing ends the editor tells its target, which reads the text and
// destroys the editor. Only one editor is active at a time: opening one takes the keys from another.
#pragma once

#include "SkinFont.h"

#include <QColor>
#include <QDialog>
#include <QPointer>
#include <QRect>
#include <QString>

#include <climits>
#include <cstdint>

class QLineEdit;

namespace skin {

// Posted to the target when editing ends: wParam = the editor (a CRename*), lParam = one of these.
inline constexpr std::uint32_t kRenameDoneMessage = 0x0400 + 259;
inline constexpr std::intptr_t kRenameCommitted = 0;
inline constexpr std::intptr_t kRenameCancelled = -1;

// Posted to the target each time the user changes the text, as the command notification of an edit
// control: wParam = kRenameChangedCode << 16 | kRenameEditId, lParam = the editor. A posted message
// rather than a Qt signal, so the target sees changes and the end of editing in the order they
// happened, through the same handler.
inline constexpr std::uint32_t kCommandMessage = 0x0111;
inline constexpr std::uint32_t kRenameChangedCode = 0x0300;
// The edit's identifier 0x20011, cut to the 16 bits of the low word.
inline constexpr std::uint32_t kRenameEditId = 0x20011 & 0xFFFF;

class CRename : public QDialog {
public:
    // Takes the font defaults from the string document: GLOBAL/FONT_SIZE (else 14), GLOBAL/FONT
    // (else the platform's default face), weight 500.
    CRename();
    ~CRename() override;

    // The one editor whose edit answers Enter, Escape and the loss of focus; nullptr when none.
    static CRename* ActiveEditor();

    // Settings, to be made before BeginEdit.
    // Where Create puts the editor, in `parent`'s coordinates; empty keeps its current geometry.
    void SetPlacement(const QRect& placement) { placement_ = placement; }
    void SetNumeric(bool numeric) { numeric_ = numeric; }
    void SetRange(int minimum, int maximum);
    // The most characters the user can type; 0 for no limit.
    void SetLengthLimit(int limit) { lengthLimit_ = limit; }
    void SetHiddenInput(bool hidden) { hiddenInput_ = hidden; }
    // Colours as the skin writes them, 0x00BBGGRR. Background: the platform's button colour at first.
    void SetBackgroundColor(std::uint32_t colorRef);
    void SetTextColor(std::uint32_t colorRef);
    void SetFontHeight(int height) { fontHeight_ = height; }
    void SetFontWeight(int weight) { fontWeight_ = weight; }
    void SetFaceName(const QString& face) { faceName_ = face; }
    // Receives the notifications; without one they go to the parent.
    void SetTarget(QObject* target) { target_ = target; }

    int FontHeight() const { return fontHeight_; }
    const QString& FaceName() const { return faceName_; }

    void SetValueText(const QString& text) { text_ = text; }
    const QString& GetValueText() const { return text_; }

    // Makes the editor a frameless pop-up of `parent` (which may be null), moves it to the placement
    // when one is set, and shows it.
    void Create(QWidget* parent);

    // Opens the edit over the editor's area less `horizontalInset` at the left and right and
    // `verticalInset` at the top and bottom, with the text selected and the caret at its end, and
    // makes this the active editor.
    void BeginEdit(int verticalInset, int horizontalInset);
    // Closes the edit without a notification.
    void EndEdit();
    bool IsEditing() const { return editing_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Enter and Escape never close the editor itself: only its target does.
    void keyPressEvent(QKeyEvent* event) override;
    // A click outside closes the pop-up; the edit then loses the focus, so the value is committed.
    void hideEvent(QHideEvent* event) override;

private:
    void Commit();
    void Cancel();
    void ForwardChange();
    void Notify(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);

    QRect placement_;
    bool numeric_ = false;
    int minimum_ = 0;
    int maximum_ = INT_MAX;
    int lengthLimit_ = 0;
    bool hiddenInput_ = false;
    QColor background_;
    QColor textColor_;
    int fontHeight_ = kDefaultCaptionHeight;
    int fontWeight_ = 500;
    QString faceName_;
    QPointer<QObject> target_;

    QString text_;
    // The text when editing began: what a cancel leaves, although changes update text_ as they come.
    QString textBeforeEdit_;
    QLineEdit* edit_ = nullptr;
    bool editing_ = false;
};

}  // namespace skin
