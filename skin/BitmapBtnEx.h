// An image button with a second text line, alternative idle pictures and an optional picture over
// the whole button (the profile-picture button of the main window).
#pragma once

#include "BitmapBtn.h"

#include <QImage>
#include <QRect>
#include <QString>

#include <vector>

namespace skin {

class CBitmapBtnEx : public CBitmapBtn {
    Q_OBJECT

public:
    static constexpr int kOrdinaryNormalPicture = -1;

    explicit CBitmapBtnEx(QWidget* parent = nullptr);

    // Alternative idle pictures; the index picks one (-1 or an index outside the list: the ordinary
    // normal picture).
    void AddNormalPicture(const QImage& picture) { normalPictures_.push_back(picture); }
    void SetNormalPictureIndex(int index);
    int NormalPictureIndex() const { return normalIndex_; }

    // The second text, drawn after the caption with the caption's weight and colour.
    void SetSecondText(const QString& text);
    const QString& SecondText() const { return secondText_; }
    void SetSecondFont(const QString& face, int height);
    void SetSecondTextRect(const QRect& rect);

    // A picture over the whole button, drawn while `show` is set and the caption is not empty.
    void SetCoverPicture(const QImage& picture, bool show);

    ButtonLook CurrentLook() const override;

protected:
    const QImage* OwnPicture(const ButtonLook& look) const override;
    void DrawContent(QPainter& painter, const ButtonLook& look) override;

private:
    std::vector<QImage> normalPictures_;
    int normalIndex_ = kOrdinaryNormalPicture;

    QString secondText_;
    QString secondFace_ = QStringLiteral("Arial");
    int secondHeight_ = kDefaultFontHeight;
    bool hasSecondRect_ = false;
    QRect secondRect_;

    QImage cover_;
    bool showCover_ = false;
};

}  // namespace skin
