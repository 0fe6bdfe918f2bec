#include "GTColorSliderWnd.h"

#include "GTColorSelectorWnd.h"
#include "DisabledPicture.h"
#include "GTDrawHelper.h"
#include "PickerGeometry.h"
#include "PickerGradients.h"
#include "PickerModes.h"
#include "PickerNotification.h"
#include "PictureBound.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace colorpicker {

namespace {

QRgb ToQRgb(PickerColor color) { return qRgb(RedOf(color), GreenOf(color), BlueOf(color)); }

bool IsByteMode(int mode) { return mode >= 0 && mode <= 2; }

}  // namespace

GTColorSliderWnd::GTColorSliderWnd(QWidget* parent, int controlId) : QWidget(parent), controlId_(controlId) {
    setObjectName(QStringLiteral("GTColorSliderWnd"));
    setWindowTitle(QStringLiteral("GTColorSliderWnd"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void GTColorSliderWnd::SetStyleWord(std::uint32_t style) {
    style_ = style;
    update();
}

void GTColorSliderWnd::SetPickerMode(int mode) {
    const int plainMode = mode & ~kInvertedMode;
    if (mode < 0 || plainMode > kStoredOnlyMode) {
        return;
    }
    mode_ = mode;
    if (plainMode == kStoredOnlyMode) {
        return;
    }
    minimum_ = 0;
    maximum_ = BarScaleOfMode(plainMode).maximum;
    value_ = IsInverted() ? maximum_ : minimum_;
    // The gradient starts as it will stand once the field has reported: black ends in the byte modes
    // (the field at its origin), the full sweep in the others.
    const int fixed = IsByteMode(plainMode) ? 0 : kFixedComponentOfSweep;
    fixedFirst_ = fixed;
    fixedSecond_ = fixed;
    update();
}

void GTColorSliderWnd::LinkField(GTColorSelectorWnd* field) { field_ = field; }

QRect GTColorSliderWnd::BarRect() const {
    QRect bar = rect().adjusted(0, 0, -1, -1);
    const int before = (style_ & kMarkerRoomBefore) != 0 ? kMarkerSize : 0;
    const int after = (style_ & kMarkerRoomAfter) != 0 ? kMarkerSize : 0;
    if (IsHorizontal()) {
        bar.adjust(0, before, 0, -after);
    } else {
        bar.adjust(before, 0, -after, 0);
    }
    return bar;
}

QRect GTColorSliderWnd::GradientRect() const {
    return BarRect().adjusted(kGradientInset, kGradientInset, -kGradientInset, -kGradientInset);
}

int GTColorSliderWnd::GradientLength() const {
    const QRect gradient = GradientRect();
    return std::max(0, IsHorizontal() ? gradient.width() : gradient.height());
}

int GTColorSliderWnd::MarkerPosition() const {
    const QRect gradient = GradientRect();
    const int start = IsHorizontal() ? gradient.x() : gradient.y();
    return start + MarkerOffset(value_, minimum_, maximum_, GradientLength());
}

bool GTColorSliderWnd::event(QEvent* event) {
    if (const PickerNotification* notification = AsPickerNotification(event)) {
        TakeFieldPoint(notification->sender);
        return true;
    }
    return QWidget::event(event);
}

void GTColorSliderWnd::TakeFieldPoint(QWidget* sender) {
    const auto* field = dynamic_cast<const GTColorSelectorWnd*>(sender);
    if (field == nullptr) {
        return;
    }
    const int mode = PickerMode();
    const PickerComponents point = field->Components();
    if (IsByteMode(mode)) {
        const PickerComponents maxima = ComponentMaxima(mode);
        if (point.y >= 0 && point.y <= maxima.y) fixedFirst_ = point.y;
        if (point.x >= 0 && point.x <= maxima.x) fixedSecond_ = point.x;
    } else {
        fixedFirst_ = kFixedComponentOfSweep;
        fixedSecond_ = kFixedComponentOfSweep;
    }
    const int wanted = IsInverted() ? maximum_ - point.z : point.z;
    const int value = std::clamp(wanted, std::min(minimum_, maximum_), std::max(minimum_, maximum_));
    // The gradient may have changed with the fixed components, so the bar repaints in any case.
    value_ = value;
    update();
}

void GTColorSliderWnd::Notify() {
    QObject* receiver = field_ ? static_cast<QObject*>(field_.data()) : parentWidget();
    SendPickerNotification(receiver, this, controlId_, value_);
}

void GTColorSliderWnd::mousePressEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() != Qt::LeftButton) {
        return;
    }
    setFocus(Qt::MouseFocusReason);
    if (BarRect().contains(event->position().toPoint())) {
        dragging_ = true;
        DragTo(event->position().toPoint());
    }
}

void GTColorSliderWnd::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    if (!dragging_) {
        return;
    }
    if (!event->buttons().testFlag(Qt::LeftButton)) {
        // The release went elsewhere (the window was hidden or lost the grab): the drag is over.
        EndDrag();
        return;
    }
    DragTo(event->position().toPoint());
}

void GTColorSliderWnd::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (dragging_ && event->button() == Qt::LeftButton) {
        EndDrag();
    }
}

void GTColorSliderWnd::DragTo(QPoint point) {
    setCursor(Qt::ArrowCursor);
    const QRect gradient = GradientRect();
    const int position = IsHorizontal() ? point.x() : point.y();
    const int start = IsHorizontal() ? gradient.x() : gradient.y();
    const int value = BarValueAt(position, start, start + GradientLength(), minimum_, maximum_);
    if (value == value_) {
        return;
    }
    value_ = value;
    update();
    Notify();
}

void GTColorSliderWnd::SetValueByUser(int value) {
    const int clamped = std::clamp(value, std::min(minimum_, maximum_), std::max(minimum_, maximum_));
    if (clamped == value_) return;
    value_ = clamped;
    update();
    Notify();
}

void GTColorSliderWnd::EndDrag() {
    dragging_ = false;
    Notify();
}

void GTColorSliderWnd::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange && !isEnabled()) {
        // A disabled window gets no more mouse input: a drag in progress ends here, unreported.
        dragging_ = false;
    }
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::EnabledChange) {
        update();
    }
    QWidget::changeEvent(event);
}

QSize GTColorSliderWnd::GradientPictureSize() const {
    const QSize wanted = IsHorizontal() ? QSize(GradientLength(), 1) : QSize(1, GradientLength());
    return BoundedPictureSize(*this, wanted, kLargestGradientSteps);
}

QImage GTColorSliderWnd::GradientLine() const {
    const QSize lineSize = GradientPictureSize();
    const int steps = IsHorizontal() ? lineSize.width() : lineSize.height();
    // The run has one step more than the gradient has pixels: its last step is the gradient's end,
    // where a click gives the maximum, so each pixel shows the colour a click on it chooses.
    auto colors = GradientThroughStops(BarGradientStops(PickerMode(), fixedFirst_, fixedSecond_), steps + 1);
    if (colors.empty() || steps <= 0) {
        return {};
    }
    colors.pop_back();
    const bool reversed = IsHorizontal() ? IsInverted() : (!IsInverted() && (style_ & kReversedVertical) != 0);
    if (reversed) {
        std::reverse(colors.begin(), colors.end());
    }
    QImage line(lineSize, QImage::Format_RGB32);
    for (int i = 0; i < steps; ++i) {
        const QPoint pixel = IsHorizontal() ? QPoint(i, 0) : QPoint(0, i);
        line.setPixel(pixel, ToQRgb(colors[static_cast<std::size_t>(i)]));
    }
    return line;
}

void GTColorSliderWnd::PaintGradient(QPainter& painter) const {
    const QRect gradient = GradientRect();
    const QImage line = GradientLine();
    if (line.isNull() || gradient.isEmpty()) {
        return;
    }
    if (!isEnabled()) {
        // Nothing to choose here: the gradient is shown greyed, and PaintMarkers draws no marker.
        DrawDisabledPicture(painter, gradient, line, palette());
        return;
    }
    // One line of the gradient, stretched across the bar's breadth (and along it beyond the bound).
    painter.drawImage(gradient, line);
}

void GTColorSliderWnd::PaintMarkers(QPainter& painter) const {
    if (!isEnabled()) {
        return;
    }
    const QRect bar = BarRect();
    const int position = MarkerPosition();
    const QColor text = palette().color(QPalette::WindowText);
    using Direction = GTDrawHelper::Direction;
    if (IsHorizontal()) {
        GTDrawHelper::DrawTriangle(painter, position, bar.y() + bar.height(), Direction::Up, kMarkerSize, text,
                                   Qt::black);
        GTDrawHelper::DrawTriangle(painter, position, bar.y() - 1, Direction::Down, kMarkerSize, text, text);
    } else {
        GTDrawHelper::DrawTriangle(painter, bar.x() - 1, position, Direction::Right, kMarkerSize, text, text);
        GTDrawHelper::DrawTriangle(painter, bar.x() + bar.width(), position, Direction::Left, kMarkerSize, text,
                                   Qt::black);
    }
}

void GTColorSliderWnd::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Button));
    PaintGradient(painter);
    PaintMarkers(painter);
    GTDrawHelper::DrawFrame(painter, palette(), BarRect(), GTDrawHelper::kSunken | GTDrawHelper::kInnerBlack);
}

}  // namespace colorpicker
