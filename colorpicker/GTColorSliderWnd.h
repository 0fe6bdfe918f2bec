// The picker's colour bar: a gradient of the component the field does not show (the hue in the LED
// page's mode 3) with a movable marker. Its value is sent as a picker notification to the linked field,
// or to the parent when no field is linked.
#pragma once

#include "PickerColor.h"

#include <QImage>
#include <QPointer>
#include <QWidget>

#include <cstdint>

namespace colorpicker {

class GTColorSelectorWnd;

class GTColorSliderWnd : public QWidget {
public:
    // Style word bits.
    static constexpr std::uint32_t kHorizontal = 0x8000;
    static constexpr std::uint32_t kReversedVertical = 0x4000;  // a vertical gradient runs bottom to top
    static constexpr std::uint32_t kMarkerRoomBefore = 0x2000;  // room for markers above / left of the bar
    static constexpr std::uint32_t kMarkerRoomAfter = 0x1000;   // room for markers below / right of the bar
    // The style word the LED page's bar is made with: horizontal, room for markers on both sides.
    static constexpr std::uint32_t kPageBarStyle = 0x5001B280;

    // A mode with this bit is inverted: its value runs down from the maximum at the bar's start.
    static constexpr int kInvertedMode = 0x80;
    // The mode that only records itself and changes neither range nor gradient.
    static constexpr int kStoredOnlyMode = 6;

    static constexpr int kMarkerSize = 7;
    static constexpr int kGradientInset = 2;
    static constexpr int kFixedComponentOfSweep = 999;
    // The gradient is computed for at most this many pixels and stretched along a longer bar, so a skin
    // record of any size costs a bounded line on every repaint.
    static constexpr int kLargestGradientSteps = 4096;

    // A vertical bar in no mode. Control identifier 0 makes a bar that notifies no one.
    GTColorSliderWnd(QWidget* parent, int controlId);

    int ControlId() const { return controlId_; }

    void SetStyleWord(std::uint32_t style);

    // Modes 0 to 6 with or without kInvertedMode; other numbers are ignored. Sets the range and steps
    // of the mode and puts the value at the bar's start.
    void SetPickerMode(int mode);
    int PickerMode() const { return mode_ & ~kInvertedMode; }
    bool IsInverted() const { return (mode_ & kInvertedMode) != 0; }

    int Minimum() const { return minimum_; }
    int Maximum() const { return maximum_; }
    int Value() const { return value_; }
    // Moves the marker to `value` (clamped into the range) and notifies as a drag there would: how
    // assistive technology sets the bar.
    void SetValueByUser(int value);

    // The field to notify in place of the parent; may be absent (nullptr).
    void LinkField(GTColorSelectorWnd* field);

    // The bar within its marker room (right and bottom exclusive), the gradient inside it, and the
    // marker's position along the gradient in window coordinates.
    QRect BarRect() const;
    QRect GradientRect() const;
    int MarkerPosition() const;
    // The size of the gradient's line, the picture the bar paints from: one pixel across, along the bar
    // at most kLargestGradientSteps and the page's (the parent's) length.
    QSize GradientPictureSize() const;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    bool IsHorizontal() const { return (style_ & kHorizontal) != 0; }
    int GradientLength() const;
    void TakeFieldPoint(QWidget* sender);
    void DragTo(QPoint point);
    void EndDrag();
    void Notify();
    QImage GradientLine() const;
    void PaintGradient(QPainter& painter) const;
    void PaintMarkers(QPainter& painter) const;

    int controlId_;
    std::uint32_t style_ = 0;
    int mode_ = -1;
    int minimum_ = 0;
    int maximum_ = 0;
    int value_ = 0;
    // The two components the gradient is painted at (see BarGradientStops).
    int fixedFirst_ = 0;
    int fixedSecond_ = 0;
    bool dragging_ = false;
    QPointer<GTColorSelectorWnd> field_;
};

}  // namespace colorpicker
