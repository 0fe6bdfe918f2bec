#include "PngHSliderBar.h"

#include "AccessibleNotices.h"
#include "SkinPictures.h"
#include "WindowMessage.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace skin {

namespace {

// Pictures are drawn many times; keep them in the format QPainter blends without converting.
QImage ForDrawing(QImage picture) {
    if (!picture.isNull()) picture.convertTo(QImage::Format_ARGB32_Premultiplied);
    return picture;
}

QImage LoadThumb(const QString& file, qreal ratio) {
    QImage picture;
    if (!file.isEmpty()) LoadPictureFile(file, picture, nullptr, ratio);
    return ForDrawing(std::move(picture));
}

}  // namespace

void CPngHSliderBar::LoadThumbs(const QString& thumbFile, const QString& secondThumbFile,
                                const QString& hoverThumbFile, bool thumbAtTop) {
    const qreal ratio = PictureRatio(this);
    thumb_ = LoadThumb(thumbFile, ratio);
    secondThumb_ = LoadThumb(secondThumbFile, ratio);
    hoverThumb_ = LoadThumb(hoverThumbFile, ratio);
    thumbAtTop_ = thumbAtTop;
    update();
}

void CPngHSliderBar::CreateSlider(QWidget* parent, int controlId, const QRect& rect) {
    controlId_ = controlId;
    minimum_ = 0;
    maximum_ = 10;
    position_ = 0;
    setParent(parent);
    setGeometry(rect);
    // Hover of the thumb is followed without a button held.
    setMouseTracking(true);
    show();
}

void CPngHSliderBar::SetTrackPictures(const QImage* normal, const QImage* filled, const QImage* disabled,
                                      const QRect& rect) {
    track_.Cut(normal, rect);
    filled_.Cut(filled, rect);
    disabled_.Cut(disabled, rect);
    update();
}

void CPngHSliderBar::SetTrackPictures(const SkinImageSet& pictures, const QRect& rect) {
    CutNormalLook(track_, pictures, rect);
    CutLook(filled_, pictures.down, pictures.deferredDown, rect);
    CutLook(disabled_, pictures.disable, pictures.deferredDisable, rect);
    update();
}

void CPngHSliderBar::SetRange(int minimum, int maximum) {
    const int clamped = std::min(std::max(position_, minimum), maximum);
    if (minimum == minimum_ && maximum == maximum_ && clamped == position_) return;
    minimum_ = minimum;
    maximum_ = maximum;
    position_ = clamped;
    update();
}

void CPngHSliderBar::SetPosition(int value) {
    if (value == position_) return;
    position_ = value;
    update();
    NotifyValueChanged(this, value);
}

void CPngHSliderBar::RequestValue(int value) { PostValue(std::clamp(value, minimum_, std::max(minimum_, maximum_))); }

QSize CPngHSliderBar::ThumbSize() const { return LogicalSize(thumb_); }

SliderScale CPngHSliderBar::Scale() const {
    return SliderScale{width(), ThumbSize().width(), minimum_, maximum_};
}

QRect CPngHSliderBar::ThumbRect() const {
    const QSize thumb = ThumbSize();
    const int top = thumbAtTop_ ? 0 : height() - thumb.height();
    return QRect(QPoint(SliderThumbLeft(Scale(), position_), top), thumb);
}

void CPngHSliderBar::PrepareLook(LookBatch& batch) const {
    // A disabled slider shows its disabled track where the page has that look: it is asked for with the
    // other looks, not decoded on its own here. Should it come out empty, the paint cuts the track and
    // fill it then shows.
    if (!isEnabled() && disabled_.IsPending()) {
        batch.Ask(disabled_);
        return;
    }
    if (ShowsDisabledTrack()) return;
    batch.Ask(track_);
    batch.Ask(filled_);
}

void CPngHSliderBar::paintEvent(QPaintEvent*) {
    // Qt's backing store already paints off screen and shows the result at once, so the slider
    // paints straight into it. Where a picture is missing the page underneath shows through.
    QPainter painter(this);
    if (!ShowsDisabledTrack()) {
        painter.drawImage(0, 0, track_.Picture());
        const QImage& fill = filled_.Picture();
        const QSize filled = LogicalSize(fill);
        const int fillWidth = std::clamp(SliderFillWidth(Scale(), position_), 0, filled.width());
        painter.drawImage(QPoint(0, 0), fill, PicturePixels(fill, QRect(0, 0, fillWidth, filled.height())));
    } else {
        painter.drawImage(0, 0, disabled_.Picture());
    }
    if (isEnabled()) {
        const QImage& thumb = thumbHovered_ && !hoverThumb_.isNull() ? hoverThumb_ : thumb_;
        painter.drawImage(ThumbRect().topLeft(), thumb);
    }
}

void CPngHSliderBar::mousePressEvent(QMouseEvent* event) {
    // Accepted, so the press does not reach the page (whose background press drags the window).
    event->accept();
    if (event->button() != Qt::LeftButton) return;
    // Taking the focus ends an in-place editor that is open elsewhere on the page.
    if (!hasFocus()) setFocus(Qt::MouseFocusReason);
    // Qt keeps sending this widget the mouse until the button is released, even outside it.
    dragging_ = true;
}

void CPngHSliderBar::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    const QPoint at = event->position().toPoint();
    if (dragging_ && !(event->buttons() & Qt::LeftButton)) {
        // The release went elsewhere (the window was hidden or lost the grab): the drag ends where
        // the thumb stands, told to the parent as a release would be, and this move changes nothing.
        dragging_ = false;
        SetThumbHovered(ThumbRect().contains(at));
        PostValue(position_);
        return;
    }
    SetThumbHovered(ThumbRect().contains(at));
    if (!dragging_) return;
    SetThumbHovered(true);
    const int value = SliderValueAt(Scale(), at.x());
    if (value != position_) PostValue(value);
}

void CPngHSliderBar::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() != Qt::LeftButton || !dragging_) return;
    dragging_ = false;
    const QPoint at = event->position().toPoint();
    SetThumbHovered(ThumbRect().contains(at));
    // Always, even when the value did not change, so the parent knows the drag has ended.
    PostValue(SliderValueAt(Scale(), at.x()));
}

void CPngHSliderBar::leaveEvent(QEvent* event) {
    if (!dragging_) SetThumbHovered(false);
    QWidget::leaveEvent(event);
}

void CPngHSliderBar::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange) {
        // A disabled widget gets no more mouse input, so a drag cannot end by a release.
        if (!isEnabled()) {
            dragging_ = false;
            thumbHovered_ = false;
        }
        update();
    }
    QWidget::changeEvent(event);
}

void CPngHSliderBar::SetThumbHovered(bool hovered) {
    if (hovered == thumbHovered_) return;
    thumbHovered_ = hovered;
    update();
}

void CPngHSliderBar::PostValue(int value) {
    platform::PostWindowMessage(parentWidget(), kSliderValueMessage, static_cast<std::uintptr_t>(value), controlId_);
}

}  // namespace skin
