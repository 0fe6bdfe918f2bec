#include "PageRenderer.h"

#include <QPainterPath>

namespace skingen {
namespace {

QImage NewPicture(const QSize& size, int pixelRatio) {
    QImage image(size * pixelRatio, QImage::Format_RGB32);
    image.setDevicePixelRatio(pixelRatio);
    return image;
}

QString StateName(WidgetState state) {
    switch (state) {
        case WidgetState::Over: return "OVER";
        case WidgetState::Down: return "DOWN";
        case WidgetState::Disable: return "DISABLE";
        case WidgetState::Normal: break;
    }
    return "NORMAL";
}

double WindowRadius(const Page& page, const Scaler& scaler) { return page.windowRadius * scaler.Factor(); }

void PaintPage(QPainter& painter, const Description& description, const Page& page, const Scaler& scaler,
               WidgetState state) {
    const Theme& theme = description.theme;
    const QSize size = scaler.Size(page.size);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(QRect(QPoint(), size), theme.Color(page.background));
    if (const Page* under = description.FindPage(page.underlay)) {
        PaintPage(painter, description, *under, scaler, WidgetState::Normal);
        for (const QRect& clear : page.underlayClear) painter.fillRect(scaler.Rect(clear), theme.Color(page.background));
    }
    for (const Decor& decor : page.decor) DrawDecor(painter, theme, scaler, decor, StateName(state));
    for (const Widget& widget : page.widgets) DrawWidget(painter, theme, scaler, widget, state);
    if (page.mask) {
        // A hairline along the window's outline sets it off from the desktop.
        const double r = WindowRadius(page, scaler);
        painter.setPen(QPen(theme.Color("outline"), 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(QPointF(), QSizeF(size)).adjusted(0.5, 0.5, -0.5, -0.5), r, r);
    }
}

}  // namespace

QImage RenderPage(const Description& description, const Page& page, const Scaler& scaler, WidgetState state,
                  int pixelRatio) {
    QImage image = NewPicture(scaler.Size(page.size), pixelRatio);
    QPainter painter(&image);
    PaintPage(painter, description, page, scaler, state);
    return image;
}

QImage RenderMask(const Page& page, const Scaler& scaler, int pixelRatio) {
    const QSize size = scaler.Size(page.size) * pixelRatio;
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    const double r = WindowRadius(page, scaler) * pixelRatio;
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawRoundedRect(QRectF(QPointF(), QSizeF(size)), r, r);
    painter.end();
    return image.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither);
}

QImage RenderPreview(const Description& description, const Page& page, const Scaler& scaler,
                     const Strings& strings) {
    QImage image = RenderPage(description, page, scaler, WidgetState::Normal, 1);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const Theme& theme = description.theme;
    for (const Label& label : page.labels) {
        const QString section = label.sections.isEmpty() ? page.section : label.sections.first();
        const QString text = strings.value(section).value(label.key) + label.sample;
        const int flags = Qt::AlignCenter | (label.wrap ? Qt::TextWordWrap : 0);
        DrawText(painter, theme, scaler, scaler.Rect(label.rect), text, label.style,
                 label.wrap ? flags : (Qt::AlignLeft | Qt::AlignVCenter));
    }
    for (const Widget& widget : page.widgets) {
        const QString text = strings.value(page.section).value(widget.key);
        if (text.isEmpty() || !widget.caption.IsSet()) continue;
        QRect rect = scaler.ControlRect(widget.rect, widget.minSize).adjusted(scaler.Length(widget.offsetX), 0, 0, 0);
        TextStyle style = widget.caption;
        if (style.color.isEmpty()) style.color = "#565656";  // the buttons' default caption colour
        DrawText(painter, theme, scaler, rect, text, style, Qt::AlignCenter);
    }
    return image;
}

}  // namespace skingen
