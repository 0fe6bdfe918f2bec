#include "ColorBtn.h"

#include "SwatchTint.h"

#include <QPainter>

namespace skin {

CColorBtn::CColorBtn(QWidget* parent) : CBitmapBtn(parent) {}

void CColorBtn::SetSwatchPicture(const QImage* source, const QRect& rect, int x, int y) {
    CutPicture(template_, source, rect);
    // A picture without alpha (the usual BMP template) is all coverage bytes: what lies outside the
    // swatch (red byte 0) must stay transparent, not opaque black.
    if (source != nullptr && !source->hasAlphaChannel() && !template_.isNull()) {
        for (int row = 0; row < template_.height(); ++row) {
            auto* pixels = reinterpret_cast<QRgb*>(template_.scanLine(row));
            for (int column = 0; column < template_.width(); ++column) pixels[column] &= 0x00FFFFFFu;
        }
    }
    tinted_ = template_;
    swatchPosition_ = QPoint(x, y);
    tintStale_ = true;
}

void CColorBtn::SetColor(int red, int green, int blue) {
    const QRgb color = qRgb(red, green, blue);
    if (color == color_ && !tintStale_) return;
    color_ = color;
    tintStale_ = false;
    tinted_ = TintSwatch(template_, red, green, blue);
    update();
}

void CColorBtn::SetShowSwatch(bool show) {
    showSwatch_ = show;
    update();
}

ButtonLook CColorBtn::CurrentLook() const { return PushButtonLook(CurrentState()); }

void CColorBtn::DrawContent(QPainter& painter, const ButtonLook&) {
    if (showSwatch_ && !tinted_.isNull()) painter.drawImage(swatchPosition_, tinted_);
}

}  // namespace skin
