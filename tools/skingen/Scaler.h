// Scaling from the 1920x1080 master to a target resolution, by width. Positions and sizes are
// rounded separately, so widgets of equal size stay equal in size (the LED buttons share one tint
// template, the sliders one thumb).
#pragma once

#include <QRect>
#include <QSize>

namespace skingen {

class Scaler {
public:
    explicit Scaler(double factor = 1.0, int minFontSize = 1) : factor_(factor), minFontSize_(minFontSize) {}

    double Factor() const { return factor_; }
    int Length(int masterPixels) const;
    QRect Rect(const QRect& master) const;
    QSize Size(const QSize& master) const;
    // A control's rectangle: scaled, then grown right and down to `minimum` (invalid: no minimum), so
    // that no resolution makes a control too small to hit.
    QRect ControlRect(const QRect& master, const QSize& minimum) const;
    // Font heights in pixels (the em size the generator draws with). Text shrinks less than the layout
    // around it, by the square root of the layout's factor (16 px at 1920x1080 is 13 px at 1366x768 and
    // 11 px at 960x540), and never below the smallest size that stays legible.
    int FontSize(int masterPixels) const;

private:
    double factor_;
    int minFontSize_;
};

}  // namespace skingen
