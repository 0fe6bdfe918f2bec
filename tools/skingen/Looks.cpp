#include "Looks.h"

#include "IconPath.h"

#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace skingen {
namespace {

struct Face {
    QString fill;     // palette name; empty: no fill
    QString border;   // palette name; empty: no border
    QString content;  // icon and badge colour
};

const char* StateSuffix(WidgetState state) {
    switch (state) {
        case WidgetState::Normal: return "Normal";
        case WidgetState::Over: return "Over";
        case WidgetState::Down: return "Down";
        case WidgetState::Disable: return "Disable";
    }
    return "Normal";
}

// The palette holds one entry per style and state: "<style>.<State>.fill" and so on.
Face FaceOf(const Theme& theme, const QString& style, WidgetState state) {
    const QString base = style + "." + StateSuffix(state) + ".";
    auto name = [&](const char* part) {
        const QString key = base + part;
        return theme.palette.contains(key) ? key : QString();
    };
    return Face{name("fill"), name("border"), name("content")};
}

QString FaceStyle(const QString& style) {
    // Styles that share the key's colours.
    if (style == "tab" || style == "effect" || style == "value" || style == "menuItem") return "key";
    return style;
}

double Radius(const Scaler& scaler, const QString& style, const QRectF& rect) {
    if (style == "tab") return rect.height() / 2;
    return std::max(2.0, 6 * scaler.Factor());
}

void FillShape(QPainter& painter, const Theme& theme, const QRectF& rect, double radius, const Face& face) {
    if (!face.fill.isEmpty()) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(theme.Color(face.fill));
        painter.drawRoundedRect(rect, radius, radius);
    }
    if (!face.border.isEmpty()) {
        painter.setPen(QPen(theme.Color(face.border), 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    }
}

void DrawIcon(QPainter& painter, const Theme& theme, const QString& icon, const QRectF& box, const QColor& color) {
    const QPainterPath path = ParseIconPath(theme.icons.value(icon));
    painter.save();
    painter.translate(box.topLeft());
    painter.scale(box.width() / 24.0, box.height() / 24.0);
    // Strokes of 2 grid units, at least one pixel wide at the smallest size.
    const double stroke = std::max(2.0, 24.0 / box.width());
    painter.setPen(QPen(color, stroke, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
    painter.restore();
}

// The content of a pressed button moves down by one pixel, as the buttons' pressed offset does.
double PressOffset(WidgetState state) { return state == WidgetState::Down ? 1.0 : 0.0; }

void DrawKey(QPainter& painter, const Theme& theme, const Scaler& scaler, const Widget& widget, const QRectF& rect,
             WidgetState state) {
    const Face face = FaceOf(theme, FaceStyle(widget.style), state);
    FillShape(painter, theme, rect, Radius(scaler, widget.style, rect), face);
    if (!widget.badge.isEmpty()) {
        // A caption drawn into the picture, for widgets whose program has no texts of its own.
        const TextStyle style{"Noto Sans", 16, 600, face.content, 0.5};
        DrawText(painter, theme, scaler, rect.toRect().translated(0, int(PressOffset(state))), widget.badge, style,
                 Qt::AlignCenter);
    }
    if (widget.icon.isEmpty()) return;
    const double size = 24 * scaler.Factor();
    const bool centred = widget.style == "icon" || widget.style == "iconClose";
    const double x = centred ? rect.center().x() - size / 2 : rect.left() + 16 * scaler.Factor();
    const QRectF box(x, rect.center().y() - size / 2 + PressOffset(state), size, size);
    DrawIcon(painter, theme, widget.icon, box, theme.Color(face.content));
}

void DrawSwatch(QPainter& painter, const Theme& theme, const Scaler& scaler, const Widget& widget, const QRectF& rect,
                WidgetState state) {
    const Face face = FaceOf(theme, "swatch", state);
    const QRectF square(rect.topLeft(), QSizeF(rect.width(), rect.width()));
    FillShape(painter, theme, square, 12 * scaler.Factor(), face);
    // The unlit lens; the tint template lights it up in the LED's colour.
    const double r = square.width() * 0.30;
    painter.setPen(QPen(theme.Color("hairline"), 1));
    painter.setBrush(theme.Color("lens"));
    painter.drawEllipse(square.center(), r, r);
    if (widget.badge.isEmpty()) return;
    const QRect strip(rect.left(), int(square.bottom()), rect.toRect().width(), int(rect.bottom() - square.bottom()));
    TextStyle style{"Noto Sans", 16, 600, face.content, 1.0};
    DrawText(painter, theme, scaler, strip.translated(0, int(PressOffset(state))), widget.badge, style,
             Qt::AlignCenter);
}

void DrawSlider(QPainter& painter, const Theme& theme, const Scaler& scaler, const Widget& widget, const QRectF& rect,
                WidgetState state) {
    const double inset = ThumbWidth(scaler) / 2.0;
    const double thickness = std::max(2.0, 4 * scaler.Factor());
    const QRectF track(rect.left() + inset, rect.center().y() - thickness / 2, rect.width() - 2 * inset, thickness);
    QColor color = theme.Color("track");
    if (state == WidgetState::Down) color = theme.Color(widget.channel.isEmpty() ? "accent" : widget.channel);
    if (state == WidgetState::Disable) color = theme.Color("trackDisabled");
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawRoundedRect(track, thickness / 2, thickness / 2);
    if (widget.ticks < 2) return;
    // Level sliders mark their positions under the track.
    const double dot = std::max(1.0, 2 * scaler.Factor());
    const double y = track.center().y() + 10 * scaler.Factor();
    painter.setBrush(theme.Color(state == WidgetState::Disable ? "trackDisabled" : "tick"));
    for (int i = 0; i < widget.ticks; ++i) {
        const double x = track.left() + track.width() * i / (widget.ticks - 1);
        painter.drawEllipse(QPointF(x, y), dot, dot);
    }
}

void DrawFrame(QPainter& painter, const Theme& theme, const Scaler& scaler, const QRectF& rect) {
    const Face face{"frame.fill", "hairline", {}};
    FillShape(painter, theme, rect, std::max(2.0, 4 * scaler.Factor()), face);
}

}  // namespace

WidgetState StateFromName(const QString& name) {
    if (name == "OVER") return WidgetState::Over;
    if (name == "DOWN") return WidgetState::Down;
    if (name == "DISABLE") return WidgetState::Disable;
    return WidgetState::Normal;
}

int ThumbWidth(const Scaler& scaler) { return scaler.Length(28); }

void DrawText(QPainter& painter, const Theme& theme, const Scaler& scaler, const QRect& rect, const QString& text,
              const TextStyle& style, int alignment) {
    QFont font(style.font);
    font.setPixelSize(scaler.FontSize(style.size));
    font.setWeight(QFont::Weight(style.weight));
    font.setLetterSpacing(QFont::AbsoluteSpacing, style.letterSpacing * scaler.Factor());
    font.setHintingPreference(QFont::PreferNoHinting);
    painter.setFont(font);
    painter.setPen(theme.Color(style.color.isEmpty() ? "text" : style.color));
    painter.drawText(rect, alignment, text);
}

void DrawDecor(QPainter& painter, const Theme& theme, const Scaler& scaler, const Decor& decor, const QString& state) {
    const QRectF rect = scaler.Rect(decor.rect);
    const QString color = decor.stateColors.value(state, decor.color.isEmpty() ? decor.shape : decor.color);
    if (decor.shape == "panel" || decor.shape == "card") {
        const Face face{color, decor.shape == "panel" ? "hairline" : QString(), {}};
        FillShape(painter, theme, rect, 8 * scaler.Factor(), face);
    } else if (decor.shape == "hairline") {
        painter.setPen(Qt::NoPen);
        painter.setBrush(theme.Color("hairline"));
        painter.drawRect(QRectF(rect.topLeft(), QSizeF(std::max(1.0, rect.width()), std::max(1.0, rect.height()))));
    } else if (decor.shape == "dot") {
        painter.setPen(Qt::NoPen);
        painter.setBrush(theme.Color(color));
        painter.drawEllipse(rect);
    } else if (decor.shape == "bar") {
        painter.setPen(Qt::NoPen);
        painter.setBrush(theme.Color(color));
        painter.drawRoundedRect(rect, rect.height() / 2, rect.height() / 2);
    } else if (decor.shape == "icon") {
        DrawIcon(painter, theme, decor.icon, rect, theme.Color(decor.color.isEmpty() ? "text" : decor.color));
    } else if (decor.shape == "text") {
        int alignment = Qt::AlignVCenter | Qt::TextWordWrap;
        if (decor.align == "center") alignment |= Qt::AlignHCenter;
        else if (decor.align == "right") alignment |= Qt::AlignRight;
        else alignment |= Qt::AlignLeft;
        DrawText(painter, theme, scaler, rect.toRect(), decor.text, decor.style, alignment);
    }
}

void DrawWidget(QPainter& painter, const Theme& theme, const Scaler& scaler, const Widget& widget, WidgetState state) {
    const QRectF rect = scaler.ControlRect(widget.rect, widget.minSize);
    if (rect.isEmpty()) return;
    if (widget.style == "swatch" || widget.style == "swatchPlain") DrawSwatch(painter, theme, scaler, widget, rect, state);
    else if (widget.style == "slider") DrawSlider(painter, theme, scaler, widget, rect, state);
    else if (widget.style == "frame") DrawFrame(painter, theme, scaler, rect);
    else if (widget.style == "plain" || widget.style.isEmpty()) return;
    else DrawKey(painter, theme, scaler, widget, rect, state);
}

}  // namespace skingen
