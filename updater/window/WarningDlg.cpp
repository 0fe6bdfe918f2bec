#include "WarningDlg.h"

#include "SkinErrorMessage.h"
#include "SkinFactory.h"
#include "SkinPictures.h"
#include "UpdaterLayout.h"
#include "UpdaterPageTexts.h"
#include "UpdaterPictures.h"
#include "UpdaterShape.h"
#include "UpdaterWording.h"

#include "LocaleLanguages.h"

#include <QPainter>

namespace updater {

namespace {

using updater_skin::UpdaterPicture;

struct ResultPictures {
    UpdaterPicture background;
    UpdaterPicture hover;
    UpdaterPicture pressed;
};

ResultPictures PicturesOf(int code) {
    switch (code) {
        case CWarning::kSuccess:
            return {UpdaterPicture::SuccessBackground, UpdaterPicture::SuccessHover, UpdaterPicture::SuccessPressed};
        case CWarning::kAlreadyCurrent:
            return {UpdaterPicture::CurrentBackground, UpdaterPicture::CurrentHover, UpdaterPicture::CurrentPressed};
        default:
            return {UpdaterPicture::FailBackground, UpdaterPicture::FailHover, UpdaterPicture::FailPressed};
    }
}

}  // namespace

CWarning::CWarning(int code, const UpdaterLayout& layout, QWidget* parent)
    : skin::CBaseDlg(parent), code_(code), layout_(layout) {
    setWindowTitle(WindowTitle(code));
    setAccessibleDescription(ResultPageText(code));
    okButton_.setAccessibleName(OkButtonName());
    closeButton_.setAccessibleName(CloseButtonName());
    connect(&okButton_, &skin::CBitmapBtn::command, this, [this](int command, skin::CBitmapBtn*) {
        if (command == skin::CBitmapBtn::kClickCode) accept();
    });
    connect(&closeButton_, &skin::CBitmapBtn::command, this, [this](int command, skin::CBitmapBtn*) {
        if (command == skin::CBitmapBtn::kClickCode) accept();
    });
}

QString CWarning::WindowTitle(int code) {
    const std::string_view title = ResultPageTitle(code, WordingFor(platform::PreferredLanguages()));
    return QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size()));
}

QString CWarning::MessageText(int code) {
    switch (code) {
        case kSuccess: return QStringLiteral("Firmware Update Success!");
        case kFailed: return QStringLiteral("Firmware Update Failed!");
        default: return QStringLiteral("Error");
    }
}

void CWarning::LoadSkin() {
    // The pictures come from the updater's resources, not from a skin folder.
    const ResultPictures roles = PicturesOf(code_);
    const qreal ratio = skin::PictureRatio(this);
    background_ = LoadUpdaterPicture(roles.background, ratio);
    const QImage hover = LoadUpdaterPicture(roles.hover, ratio);
    const QImage pressed = LoadUpdaterPicture(roles.pressed, ratio);
    if (!background_.isNull()) resize(skin::LogicalSize(background_));
    ApplyUpdaterShape(*this, UpdaterPicture::ResultOutline);

    skin::SkinImageSet pictures;
    pictures.normal = &background_;
    pictures.over = &hover;
    pictures.down = &pressed;
    skin::CreateButtonFromRecord(okButton_, this, pictures, layout_.resultOk);
    skin::CreateButtonFromRecord(closeButton_, this, pictures, layout_.resultClose);
}

void CWarning::DrawSkinContent(QPainter& painter) { painter.drawImage(0, 0, background_); }

}  // namespace updater
