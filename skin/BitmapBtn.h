// The image button of skinned pages: four state pictures cut from its page, an optional caption drawn
// over them, hover tracking, check-button and auto-repeat behaviour.
//
// Every notification is the one signal command(code, sender):
//   kClickCode        0       left click (press and release over the button), plain buttons
//   kCheckedCode      23      left release on a check button, after `checked` has toggled
//   kRepeatCode       122     every repeat interval while the left button is held (auto-repeat)
//   kRightPressCode   0x00FF  right button pressed
//   kMiddlePressCode  0xFFFF  middle button pressed
// The keyboard never presses a skinned button; assistive technology presses it through Press (its
// accessible action). At most one button of the program shows its hover look, and none while the
// program has no active window.
#pragma once

#include "ButtonLook.h"
#include "SkinFont.h"
#include "SkinPictures.h"

#include <QAbstractButton>
#include <QBasicTimer>
#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>

#include <cstdint>

namespace skin {

class CBitmapBtn : public QAbstractButton {
    Q_OBJECT

public:
    static constexpr int kClickCode = 0;
    static constexpr int kCheckedCode = 23;
    static constexpr int kRepeatCode = 122;
    static constexpr int kRightPressCode = 0x00FF;
    static constexpr int kMiddlePressCode = 0xFFFF;

    // Caption format words: alignment 0 left, 1 centred, 2 right; plus kFormatWrap for several lines.
    static constexpr int kFormatLeft = 0;
    static constexpr int kFormatCentred = 1;
    static constexpr int kFormatRight = 2;
    static constexpr int kFormatWrap = 0x10;

    static constexpr int kDefaultFontHeight = kDefaultCaptionHeight;
    static constexpr int kDefaultFontWeight = 500;

    explicit CBitmapBtn(QWidget* parent = nullptr);
    ~CBitmapBtn() override;

    // Makes the button a visible child of `page` at `rect` and takes the caption font from the string
    // document's GLOBAL/FONT and GLOBAL/FONT_SIZE (loading the document first if it is still empty).
    void Create(QWidget* page, const QRect& rect);

    // Cuts `rect` out of each page picture into the matching state picture; a missing page picture
    // leaves that state without a picture (nothing is drawn in that state). A state whose page picture
    // is deferred is cut when the button first shows it.
    void SetStatePictures(const SkinImageSet& pictures, const QRect& rect);

    // Stores the caption with its anchoring and margin; repaints when the text or margin changed.
    void SetCaption(const QString& caption, bool leftAnchored = true, int margin = 0);
    const QString& GetCaption() const { return caption_; }
    void SetFaceName(const QString& face) { faceName_ = face; }
    const QString& FaceName() const { return faceName_; }
    void SetFontHeight(int height) { fontHeight_ = height; }
    int FontHeight() const { return fontHeight_; }
    void SetFontWeight(int weight) { fontWeight_ = weight; }
    void SetTextFormat(int format) { textFormat_ = format; }
    int TextFormat() const { return textFormat_; }
    // A caption rectangle of its own (button coordinates) in place of the whole button.
    void SetTextRect(const QRect& rect);

    void SetChecked(bool checked);
    // What a left click does, for assistive technology: a check button toggles and notifies
    // kCheckedCode, any other button notifies kClickCode. A disabled button does nothing.
    void Press();
    bool IsChecked() const { return checked_; }
    void SetCheckable(bool checkable) { checkable_ = checkable; }
    bool IsCheckable() const { return checkable_; }
    void SetAutoRepeat(bool repeat, int intervalMs = 100);
    void SetFramed(bool framed) { framed_ = framed; }
    void SetFocusOnHover(bool focus) { focusOnHover_ = focus; }
    // Pictures move down one pixel while the button is held down.
    void SetPressedOffset(bool offset) { pressedOffset_ = offset; }
    bool IsHovering() const { return hovering_; }

    // Caption colours, 0x00BBGGRR.
    void SetTextColors(std::uint32_t normal, std::uint32_t highlighted, std::uint32_t disabled,
                       std::uint32_t checkedPressed);
    void SetNormalTextColor(std::uint32_t color);
    void SetHighlightTextColor(std::uint32_t color);

    // The tooltip shows `text` while the mouse rests on the button; HideTooltip switches it off.
    void ShowTooltip(const QString& text);
    void HideTooltip();

    // The current look, from the button's state.
    ButtonState CurrentState() const;
    virtual ButtonLook CurrentLook() const;
    // Asks `batch` for the picture of the current look, where it waits for its page picture.
    void PrepareLook(LookBatch& batch) const;

signals:
    void command(int code, skin::CBitmapBtn* sender);

protected:
    const QImage& Picture(StatePicture picture) const;
    // The look cut from the page picture of that state.
    const CutOut& Look(StatePicture picture) const;
    QColor CaptionColor(CaptionTone tone) const;
    // The rectangle of the caption: the own text rectangle or the whole button, with the margin
    // applied to its left edge (left-anchored) or its right edge.
    QRect CaptionRect() const;
    // `area` with the caption margin applied: its left edge at the margin (left-anchored) or its right
    // edge the margin inside the button's right edge.
    QRect WithCaptionMargin(QRect area) const;
    bool HasTextRect() const { return hasTextRect_; }
    const QRect& TextRect() const { return textRect_; }
    int FontWeight() const { return fontWeight_; }
    // Draws `text` into `rect` in the caption format, colour and the given font.
    void DrawCaptionText(QPainter& painter, const QRect& rect, const QString& text, const QFont& font,
                         const QColor& color) const;

    // Draws the button as it looks now: its picture, then DrawContent. The painter is already
    // moved down by the pressed offset when that applies.
    const QImage& PictureFor(const ButtonLook& look) const;
    // A picture of the button's own shown for `look` instead of its state picture (null: none).
    virtual const QImage* OwnPicture(const ButtonLook& look) const;
    virtual void DrawContent(QPainter& painter, const ButtonLook& look);

    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    void BeginHover();
    void EndHover();
    void Toggle();

    CutOut normal_;
    CutOut hover_;
    CutOut pressed_;
    CutOut disabled_;

    bool checkable_ = false;
    bool checked_ = false;
    bool hovering_ = false;
    bool autoRepeat_ = false;
    int repeatIntervalMs_ = 100;
    QBasicTimer repeatTimer_;
    bool framed_ = false;
    bool focusOnHover_ = false;
    bool pressedOffset_ = false;

    QString caption_;
    QString faceName_;
    int fontHeight_ = kDefaultFontHeight;
    int fontWeight_ = kDefaultFontWeight;
    int margin_ = 0;
    bool leftAnchored_ = true;
    int textFormat_ = kFormatCentred;
    bool hasTextRect_ = false;
    QRect textRect_;

    std::uint32_t normalTextColor_ = 0x565656;
    std::uint32_t highlightTextColor_ = 0xFFFFFF;
    std::uint32_t disabledTextColor_ = 0x565656;
    std::uint32_t checkedPressedTextColor_ = 0xFFFFFF;

    QString tooltipText_;
    bool tooltipActive_ = false;
};

}  // namespace skin
