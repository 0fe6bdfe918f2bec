// An image button with a colour swatch: a grey-level template cut from a picture, tinted with the
// button's colour and blended over its state picture (the LED colour buttons).
#pragma once

#include "BitmapBtn.h"

#include <QImage>
#include <QPoint>
#include <QRgb>

namespace skin {

class CColorBtn : public CBitmapBtn {
    Q_OBJECT

public:
    explicit CColorBtn(QWidget* parent = nullptr);

    // Cuts `rect` out of `source` as the swatch template, to be drawn at (x, y) in the button.
    void SetSwatchPicture(const QImage* source, const QRect& rect, int x, int y);
    // Tints the swatch with the colour and repaints (nothing happens for the same colour).
    void SetColor(int red, int green, int blue);
    void SetShowSwatch(bool show);

    const QImage& TintedSwatch() const { return tinted_; }
    // The swatch's colour and whether it is shown.
    QRgb Color() const { return color_; }
    bool ShowsSwatch() const { return showSwatch_; }
    ButtonLook CurrentLook() const override;

protected:
    void DrawContent(QPainter& painter, const ButtonLook& look) override;

private:
    QImage template_;
    QImage tinted_;
    QPoint swatchPosition_;
    bool showSwatch_ = true;
    bool tintStale_ = true;
    QRgb color_ = qRgb(0, 0, 0);
};

}  // namespace skin
