// The horizontal image slider of the LED page (colour channels, speed, brightness, frequencies).
//
// Its track is cut out of the page pictures like a button's looks: the unfilled track from NORMAL,
// the filled part left of the thumb from DOWN, an optional disabled look from DISABLE. The thumb is a
// PNG with per-pixel alpha. The slider never moves its own thumb: it posts the value under the mouse
// to its parent, and the parent decides and calls SetPosition.
#pragma once

#include "SkinPictures.h"
#include "SliderMath.h"

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>
#include <QWidget>

#include <cstdint>

namespace skin {

// Posted to the slider's parent while the thumb is dragged (once per change of value) and on release
// (always): wParam = the value under the mouse (read it back as int), lParam = the control id.
inline constexpr std::uint32_t kSliderValueMessage = 0x0400 + 112;

class CPngHSliderBar : public QWidget {
public:
    // A slider without a window of its own yet: CreateSlider gives it its parent and place.
    CPngHSliderBar() = default;

    // Loads the thumb pictures (PNG with alpha). The thumb size is the first picture's size; a file
    // that does not load leaves that picture empty (size 0, nothing drawn). The second thumb is kept
    // but not drawn; without a hover picture the hovered thumb is drawn with the ordinary one.
    void LoadThumbs(const QString& thumbFile, const QString& secondThumbFile, const QString& hoverThumbFile,
                    bool thumbAtTop);

    // Makes the slider a visible child of `parent` at `rect` (parent coordinates), with the range
    // 0..10 and position 0. Notifications go to `parent`, carrying `controlId`.
    void CreateSlider(QWidget* parent, int controlId, const QRect& rect);

    // Cuts the track pictures out of page pictures at `rect`. A null picture leaves that look as it
    // was; `disabled` may be null when the page has no disabled look.
    void SetTrackPictures(const QImage* normal, const QImage* filled, const QImage* disabled, const QRect& rect);
    // The same from a page's image set: normal, pressed (the filled part) and disabled, each cut when
    // first drawn where the page defers it.
    void SetTrackPictures(const SkinImageSet& pictures, const QRect& rect);

    // Sets the range and clamps the position into it. The range must have maximum > minimum; one that
    // does not reads every mouse position as the minimum and draws the thumb at the left edge.
    void SetRange(int minimum, int maximum);
    void SetPosition(int value);
    // Posts `value`, clamped into the range, to the parent as a finished drag does: how assistive
    // technology sets the slider (the parent still decides the position).
    void RequestValue(int value);

    int Minimum() const { return minimum_; }
    int Maximum() const { return maximum_; }
    int Position() const { return position_; }
    int ControlId() const { return controlId_; }
    // In logical pixels, whatever the density the thumb was loaded at.
    QSize ThumbSize() const;
    bool ThumbHovered() const { return thumbHovered_; }
    // The thumb's rectangle for the current position, in the slider's coordinates.
    QRect ThumbRect() const;
    // Asks `batch` for the track pictures it shows now, where they wait for their page picture.
    void PrepareLook(LookBatch& batch) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    SliderScale Scale() const;
    // Whether the slider shows its disabled track (disabled, and the page has that look) rather than
    // its track and fill.
    bool ShowsDisabledTrack() const { return !isEnabled() && !disabled_.Picture().isNull(); }
    void SetThumbHovered(bool hovered);
    void PostValue(int value);

    int controlId_ = 0;
    CutOut track_{true};
    CutOut filled_{true};
    CutOut disabled_{true};
    QImage thumb_;
    QImage secondThumb_;
    QImage hoverThumb_;
    bool thumbAtTop_ = false;
    bool thumbHovered_ = false;
    bool dragging_ = false;
    int minimum_ = 0;
    int maximum_ = 10;
    int position_ = 0;
};

}  // namespace skin
