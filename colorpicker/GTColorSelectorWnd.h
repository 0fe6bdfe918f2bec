// The picker's two-dimensional field: x runs left to right, y bottom to top, and the bar's component z
// chooses the plane. In the LED page's mode 3 the plane is saturation by value for the bar's hue.
//
// Every change of the point (mouse, SetColor, the bar) is sent as a picker notification to the linked
// bar, then the linked well, then the parent.
#pragma once

#include "PickerColor.h"
#include "PickerModes.h"

#include <QImage>
#include <QPointer>
#include <QWidget>

#include <cstdint>

namespace colorpicker {

class GTColorSliderWnd;
class GTColorWellWnd;

class GTColorSelectorWnd : public QWidget {
public:
    // The plane lies this many pixels inside the window on every side, within the sunken frame.
    static constexpr int kPlaneInset = 3;
    static constexpr int kMarkerRadius = 5;
    // The plane's picture has at most this many pixels a side, and none beyond its page's; a larger
    // plane shows it stretched, so a skin record of any size costs a bounded picture and a bounded
    // render on every change of hue.
    static constexpr int kLargestPlanePicture = 1024;

    // Starts in mode 0 at the origin. Control identifier 0 makes a field that notifies no one.
    GTColorSelectorWnd(QWidget* parent, int controlId);

    int ControlId() const { return controlId_; }

    // Switches to `mode` (0 to 5) with the maxima of that mode and every component 0. Setting the
    // current mode again, or an unknown one, changes nothing.
    void SetPickerMode(int mode);
    int PickerMode() const { return mode_; }

    // Moves the point to the components of `color` in the current mode; when they differ from the
    // current ones, recomputes the colour, notifies and repaints.
    void SetColor(PickerColor color);

    // The colour of the current point.
    PickerColor Color() const { return color_; }
    PickerComponents Components() const { return components_; }
    int XMaximum() const { return xMaximum_; }
    int YMaximum() const { return yMaximum_; }

    // The bar and the well to notify first; either may be absent (nullptr).
    void LinkBar(GTColorSliderWnd* bar);
    void LinkWell(GTColorWellWnd* well);

    // The plane in window coordinates, and the centre of the marker on it (on the plane's right or
    // bottom edge at the x or y maximum).
    QRect PlaneRect() const;
    QPoint MarkerCenter() const;
    // The size of the picture the plane is rendered into (the plane's, bounded as above).
    QSize PlanePictureSize() const;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void TakeBarValue(QWidget* sender, int value);
    void DragTo(QPoint point);
    void EndDrag();
    void PointChanged();
    std::intptr_t Notify();
    void RenderPlane();

    int controlId_;
    int mode_ = 0;
    PickerComponents components_;
    int xMaximum_ = 255;
    int yMaximum_ = 255;
    PickerColor color_ = 0;
    bool planeNeedsRedraw_ = true;
    Qt::MouseButton dragButton_ = Qt::NoButton;
    QPointer<GTColorSliderWnd> bar_;
    QPointer<GTColorWellWnd> well_;
    QImage plane_;
};

}  // namespace colorpicker
