#include "BitmapBtnEx.h"

#include "SkinFont.h"

#include <QPainter>

namespace skin {

CBitmapBtnEx::CBitmapBtnEx(QWidget* parent) : CBitmapBtn(parent) {}

void CBitmapBtnEx::SetNormalPictureIndex(int index) {
    normalIndex_ = index;
    update();
}

void CBitmapBtnEx::SetSecondText(const QString& text) {
    if (text == secondText_) return;
    secondText_ = text;
    update();
}

void CBitmapBtnEx::SetSecondFont(const QString& face, int height) {
    secondFace_ = face;
    secondHeight_ = height;
    update();
}

void CBitmapBtnEx::SetSecondTextRect(const QRect& rect) {
    hasSecondRect_ = true;
    secondRect_ = rect;
    update();
}

void CBitmapBtnEx::SetCoverPicture(const QImage& picture, bool show) {
    cover_ = picture;
    showCover_ = show;
    update();
}

ButtonLook CBitmapBtnEx::CurrentLook() const { return SecondTextButtonLook(CurrentState()); }

const QImage* CBitmapBtnEx::OwnPicture(const ButtonLook& look) const {
    const bool idle = look.picture == StatePicture::Normal;
    if (idle && normalIndex_ >= 0 && static_cast<std::size_t>(normalIndex_) < normalPictures_.size()) {
        return &normalPictures_[static_cast<std::size_t>(normalIndex_)];
    }
    return nullptr;
}

void CBitmapBtnEx::DrawContent(QPainter& painter, const ButtonLook& look) {
    // The cover goes under the texts, so they stay readable over it.
    if (showCover_ && !GetCaption().isEmpty() && !cover_.isNull()) {
        const QSize cover = LogicalSize(cover_);
        if (cover.width() == width() || cover.height() == height()) {
            painter.drawImage(0, 0, cover_);
        } else {
            painter.drawImage(rect(), cover_);
        }
    }
    const QColor color = CaptionColor(look.tone);
    // Each text goes into its own rectangle as it stands when it has one, else into the button with the
    // caption margin applied.
    const QRect captionRect = HasTextRect() ? TextRect() : WithCaptionMargin(rect());
    const QRect secondRect = hasSecondRect_ ? secondRect_ : WithCaptionMargin(rect());
    DrawCaptionText(painter, captionRect, GetCaption(), SkinFont(FaceName(), FontHeight(), FontWeight()), color);
    DrawCaptionText(painter, secondRect, secondText_, SkinFont(secondFace_, secondHeight_, FontWeight()), color);
}

}  // namespace skin
