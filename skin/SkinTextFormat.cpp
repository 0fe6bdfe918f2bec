#include "SkinTextFormat.h"

#include <QFontMetrics>
#include <QPainter>

namespace skin {

namespace {

int QtTextFlags(unsigned format) {
    int flags = 0;
    if (format & DT_CENTER) {
        flags |= Qt::AlignHCenter;
    } else if (format & DT_RIGHT) {
        flags |= Qt::AlignRight;
    } else {
        flags |= Qt::AlignLeft;
    }
    if (format & DT_SINGLELINE) {
        flags |= Qt::TextSingleLine;
        if (format & DT_VCENTER) {
            flags |= Qt::AlignVCenter;
        } else if (format & DT_BOTTOM) {
            flags |= Qt::AlignBottom;
        } else {
            flags |= Qt::AlignTop;
        }
    } else {
        flags |= Qt::AlignTop;
        if (format & DT_WORDBREAK) flags |= Qt::TextWordWrap;
    }
    if (format & DT_EXPANDTABS) flags |= Qt::TextExpandTabs;
    // Qt lays text out inside the rectangle and cuts what falls outside unless told otherwise.
    if (format & DT_NOCLIP) flags |= Qt::TextDontClip;
    if (!(format & DT_NOPREFIX)) flags |= Qt::TextShowMnemonic;
    return flags;
}

// Qt breaks lines at '\n' only; a "\r\n" pair (or a lone '\r') is one break.
QString QtLineBreaks(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

// A single line that does not fit gets "..." at its end.
QString ElideIfNeeded(const QPainter& painter, const QRect& rect, const QString& text, unsigned format) {
    if (!(format & DT_END_ELLIPSIS) || !(format & DT_SINGLELINE)) return text;
    const int flags = QtTextFlags(format);
    const QFontMetrics metrics(painter.font());
    if (metrics.boundingRect(QRect(), flags, text).width() <= rect.width()) return text;
    return metrics.elidedText(text, Qt::ElideRight, rect.width(), flags);
}

}  // namespace

void DrawSkinText(QPainter& painter, const QRect& rect, const QString& text, unsigned format) {
    if (format & DT_CALCRECT) return;
    if (text.isEmpty()) return;
    painter.save();
    if (!(format & DT_NOCLIP)) painter.setClipRect(rect, Qt::IntersectClip);
    painter.drawText(rect, QtTextFlags(format), ElideIfNeeded(painter, rect, QtLineBreaks(text), format));
    painter.restore();
}

QRect MeasureSkinText(QPainter& painter, const QRect& rect, const QString& text, unsigned format) {
    const unsigned layout = format & (DT_SINGLELINE | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
    const QFontMetrics metrics(painter.font());
    const QRect bounds = metrics.boundingRect(QRect(rect.topLeft(), QSize(rect.width(), 0)),
                                              QtTextFlags(layout) | Qt::AlignLeft | Qt::AlignTop, QtLineBreaks(text));
    if ((format & DT_WORDBREAK) && !(format & DT_SINGLELINE)) {
        return QRect(rect.left(), rect.top(), rect.width(), bounds.height());
    }
    return QRect(rect.topLeft(), bounds.size());
}

QString ExpandLineBreakEscapes(QString text) {
    return text.replace(QStringLiteral("\\r\\n"), QStringLiteral("\r\n"));
}

}  // namespace skin
