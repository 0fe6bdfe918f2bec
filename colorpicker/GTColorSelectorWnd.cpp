#include "GTColorSelectorWnd.h"

#include "GTColorSliderWnd.h"
#include "GTColorWellWnd.h"
#include "DisabledPicture.h"
#include "GTDrawHelper.h"
#include "PickerGeometry.h"
#include "PickerGradients.h"
#include "PickerNotification.h"
#include "PictureBound.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace colorpicker {

namespace {

constexpr int kBrightChannel = 128;

QRgb ToQRgb(PickerColor color) { return qRgb(RedOf(color), GreenOf(color), BlueOf(color)); }

bool IsDragButton(Qt::MouseButton button) { return button == Qt::LeftButton || button == Qt::MiddleButton; }

}  // namespace

GTColorSelectorWnd::GTColorSelectorWnd(QWidget* parent, int controlId) : QWidget(parent), controlId_(controlId) {
    setObjectName(QStringLiteral("GTColorSelectorWnd"));
    setWindowTitle(QStringLiteral("GTColorSelectorWnd"));
    // Every pixel is painted, so Qt need not clear the background first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Move events without a button pressed choose the cursor over the plane.
    setMouseTracking(true);
    color_ = ColorOfComponents(mode_, components_, xMaximum_, yMaximum_);
}

void GTColorSelectorWnd::SetPickerMode(int mode) {
    if (!IsPickerMode(mode) || mode == mode_) {
        return;
    }
    const PickerComponents maxima = ComponentMaxima(mode);
    mode_ = mode;
    xMaximum_ = maxima.x;
    yMaximum_ = maxima.y;
    components_ = {};
    color_ = ColorOfComponents(mode_, components_, xMaximum_, yMaximum_);
    planeNeedsRedraw_ = true;
    update();
}

void GTColorSelectorWnd::SetColor(PickerColor color) {
    const PickerComponents components = ComponentsOfColor(mode_, color);
    if (components == components_) {
        return;
    }
    if (components.z != components_.z) {
        planeNeedsRedraw_ = true;
    }
    components_ = components;
    PointChanged();
}

void GTColorSelectorWnd::LinkBar(GTColorSliderWnd* bar) { bar_ = bar; }

void GTColorSelectorWnd::LinkWell(GTColorWellWnd* well) { well_ = well; }

QRect GTColorSelectorWnd::PlaneRect() const {
    return rect().adjusted(kPlaneInset, kPlaneInset, -kPlaneInset, -kPlaneInset);
}

QPoint GTColorSelectorWnd::MarkerCenter() const {
    const QRect plane = PlaneRect();
    const int bottom = plane.y() + plane.height();
    return {plane.x() + MarkerOffset(components_.x, 0, xMaximum_, plane.width()),
            bottom - MarkerOffset(components_.y, 0, yMaximum_, plane.height())};
}

QSize GTColorSelectorWnd::PlanePictureSize() const {
    return BoundedPictureSize(*this, PlaneRect().size(), kLargestPlanePicture);
}

bool GTColorSelectorWnd::event(QEvent* event) {
    if (const PickerNotification* notification = AsPickerNotification(event)) {
        TakeBarValue(notification->sender, notification->value);
        return true;
    }
    return QWidget::event(event);
}

void GTColorSelectorWnd::TakeBarValue(QWidget* sender, int value) {
    const auto* bar = dynamic_cast<const GTColorSliderWnd*>(sender);
    if (bar == nullptr) {
        return;
    }
    const int z = bar->IsInverted() ? bar->Maximum() - value : value;
    if (z < 0 || z > ComponentMaxima(mode_).z) {
        return;
    }
    if (z != components_.z) {
        planeNeedsRedraw_ = true;
    }
    components_.z = z;
    PointChanged();
}

void GTColorSelectorWnd::PointChanged() {
    color_ = ColorOfComponents(mode_, components_, xMaximum_, yMaximum_);
    Notify();
    update();
}

std::intptr_t GTColorSelectorWnd::Notify() {
    const int value = static_cast<int>(color_);
    SendPickerNotification(bar_, this, controlId_, value);
    SendPickerNotification(well_, this, controlId_, value);
    return SendPickerNotification(parentWidget(), this, controlId_, value);
}

void GTColorSelectorWnd::mousePressEvent(QMouseEvent* event) {
    event->accept();
    if (!IsDragButton(event->button())) {
        return;
    }
    setFocus(Qt::MouseFocusReason);
    if (dragButton_ == Qt::NoButton && PlaneRect().contains(event->position().toPoint())) {
        // Qt keeps sending this window the moves until the button is released, wherever the mouse
        // goes: that is the capture of the drag.
        dragButton_ = event->button();
        DragTo(event->position().toPoint());
    }
}

void GTColorSelectorWnd::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    if (dragButton_ == Qt::NoButton) {
        setCursor(PlaneRect().contains(event->position().toPoint()) ? Qt::CrossCursor : Qt::ArrowCursor);
        return;
    }
    if (!event->buttons().testFlag(dragButton_)) {
        // The release went elsewhere (the window was hidden or lost the grab): the drag is over.
        EndDrag();
        return;
    }
    DragTo(event->position().toPoint());
}

void GTColorSelectorWnd::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() == Qt::MiddleButton) {
        setFocus(Qt::MouseFocusReason);
    }
    if (dragButton_ != Qt::NoButton && event->button() == dragButton_) {
        EndDrag();
    }
}

void GTColorSelectorWnd::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
    setFocus(Qt::MouseFocusReason);
}

void GTColorSelectorWnd::DragTo(QPoint point) {
    setCursor(Qt::CrossCursor);
    const QRect plane = PlaneRect();
    const int bottom = plane.y() + plane.height();
    // ComponentAtOffset clamps, so a point beyond the plane counts as its edge.
    const int x = ComponentAtOffset(point.x() - plane.x(), plane.width(), xMaximum_);
    const int y = ComponentAtOffset(bottom - point.y(), plane.height(), yMaximum_);
    if (x == components_.x && y == components_.y) {
        return;
    }
    components_.x = x;
    components_.y = y;
    PointChanged();
}

void GTColorSelectorWnd::EndDrag() {
    dragButton_ = Qt::NoButton;
    color_ = ColorOfComponents(mode_, components_, xMaximum_, yMaximum_);
    Notify();
}

void GTColorSelectorWnd::resizeEvent(QResizeEvent* event) {
    planeNeedsRedraw_ = true;
    QWidget::resizeEvent(event);
}

void GTColorSelectorWnd::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange && !isEnabled()) {
        // A disabled window gets no more mouse input: a drag in progress ends here, unreported.
        dragButton_ = Qt::NoButton;
    }
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::EnabledChange) {
        update();
    }
    QWidget::changeEvent(event);
}

void GTColorSelectorWnd::RenderPlane() {
    plane_ = QImage(PlanePictureSize(), QImage::Format_RGB32);
    const int width = plane_.width();
    const int height = plane_.height();
    for (int row = 0; row < height; ++row) {
        // Each pixel shows the colour that a click on it picks: the row's y and, along the row, the run
        // from x = 0 to x = maximum, whose last step is the plane's right edge.
        const int y = ComponentAtOffset(height - row, height, yMaximum_);
        const auto stops = FieldRowStops(mode_, components_.z, y, xMaximum_, yMaximum_);
        const auto colors = GradientThroughStops(stops, width + 1);
        auto* line = reinterpret_cast<QRgb*>(plane_.scanLine(row));
        for (int column = 0; column < width; ++column) {
            line[column] = ToQRgb(colors[static_cast<std::size_t>(column)]);
        }
    }
    planeNeedsRedraw_ = false;
}

void GTColorSelectorWnd::paintEvent(QPaintEvent*) {
    const QRect plane = PlaneRect();
    if (planeNeedsRedraw_ || plane_.size() != PlanePictureSize()) {
        RenderPlane();
    }
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Button));
    GTDrawHelper::DrawFrame(painter, palette(), rect().adjusted(1, 1, -1, -1),
                            GTDrawHelper::kSunken | GTDrawHelper::kInnerBlack);
    if (plane.isEmpty()) {
        return;
    }
    if (!isEnabled()) {
        // Nothing to pick here: the plane is shown greyed and without its marker.
        DrawDisabledPicture(painter, plane, plane_, palette());
        return;
    }
    painter.drawImage(plane, plane_);

    painter.setClipRect(plane);
    const int brightest = std::max({RedOf(color_), GreenOf(color_), BlueOf(color_)});
    painter.setPen(brightest >= kBrightChannel ? Qt::black : Qt::white);
    painter.setBrush(Qt::NoBrush);
    const QPoint center = MarkerCenter();
    painter.drawEllipse(QRect(center.x() - kMarkerRadius, center.y() - kMarkerRadius, 2 * kMarkerRadius,
                              2 * kMarkerRadius));
}

}  // namespace colorpicker
