#include "InfoDlg.h"

#include "PopupWindows.h"
#include "PackageMessageBox.h"

#include "SkinAttributes.h"
#include "SkinDocuments.h"
#include "SkinFactory.h"
#include "SkinFont.h"
#include "SkinKeys.h"
#include "SkinTextFormat.h"
#include "XmlDocument.h"

#include <QPainter>

namespace fwstatus {

namespace {

namespace keys = skindocs::keys;

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kVersionTextColor = 0x565656;
// The title's font when its record names none: 29 pixels, written as the skin writes a pixel size.
constexpr int kTitleHeight = -29;
constexpr int kTitleWeight = 900;

void SetAllTextColors(skin::CBitmapBtn& button, std::uint32_t color) {
    button.SetTextColors(color, color, color, color);
}

}  // namespace

CInfoDlg::CInfoDlg(config::CUSBDriver& link, Setup setup, QWidget* parent)
    : skin::CBaseDlg(parent), link_(link), setup_(std::move(setup)) {
    SetSectionName(skin::ToQString(keys::kInfoDlg));
    SetImageFolderName(skin::ToQString(skindocs::kPopDlgFolder));
    config::MarkAsWarnDlg(*this, config::StringTitle(skin::ToQString(keys::kInfoDlg)));
    setWindowFlag(Qt::WindowStaysOnTopHint);

    const auto onClick = [this](void (CInfoDlg::*action)()) {
        return [this, action](int code, skin::CBitmapBtn*) {
            if (code == skin::CBitmapBtn::kClickCode) (this->*action)();
        };
    };
    connect(&okButton_, &skin::CBitmapBtn::command, this, onClick(&CInfoDlg::OnOk));
    connect(&closeButton_, &skin::CBitmapBtn::command, this, onClick(&CInfoDlg::reject));
    connect(&updateButton_, &skin::CBitmapBtn::command, this, onClick(&CInfoDlg::OnUpdate));
}

void CInfoDlg::reject() { done(CloseResult(buttons_.updateRequired)); }

void CInfoDlg::InitDialog() {
    // The check comes first: the labels show its texts.
    PackageMessageBox messageBoxes(this);
    firmware::PackageMessageSink& messages = setup_.messages != nullptr ? *setup_.messages : messageBoxes;
    check_ = CheckFirmware(link_, setup_.updaterProgram, messages, setup_.retries);
    buttons_ = PromptButtonsFor(check_.result, check_.selectedEntry);
    skin::CBaseDlg::InitDialog();
    okButton_.setEnabled(buttons_.okEnabled);
    updateButton_.setEnabled(buttons_.updateEnabled);
    CentreOnParent();
}

void CInfoDlg::LoadSkin() {
    skin::CBaseDlg::LoadSkin();
    const QString software =
        QStringLiteral("V") + skin::ToQString(xml::LookupValue(skindocs::SkinDocument(), keys::kInfo, keys::kSwVersion));
    CreateVersionLabel(softwareLabel_, keys::kStrVerSw, software);
    CreateVersionLabel(firmwareLabel_, keys::kStrVerFw, skin::ToQString(check_.firmwareText));
    CreateVersionLabel(updateLabel_, keys::kStrVerUpdate, skin::ToQString(check_.updateText));

    for (auto [button, key] : {std::pair{&okButton_, keys::kButtonOk}, std::pair{&updateButton_, keys::kButtonUpdate}}) {
        skin::CreateSkinButton(*button, this, ImageSet(), keys::kInfoDlg, key, true, skin::CBitmapBtn::kFormatCentred,
                               -1);
        SetAllTextColors(*button, kWhite);
    }
    skin::CreateSkinButton(closeButton_, this, ImageSet(), keys::kInfoDlg, keys::kButtonClose, false,
                           skin::CBitmapBtn::kFormatCentred, -1);
    // The title is drawn on the picture; assistive technology reads it and the versions from here.
    setAccessibleName(skin::ToQString(xml::LookupValue(skindocs::StringDocument(), keys::kInfoDlg, keys::kStrTitle)));
    setAccessibleDescription(softwareLabel_.GetCaption() + QStringLiteral("\n") + firmwareLabel_.GetCaption() +
                             QStringLiteral("\n") + updateLabel_.GetCaption());
}

void CInfoDlg::CreateVersionLabel(skin::CBitmapBtn& label, std::u16string_view key, const QString& value) {
    skin::CreateSkinButton(label, this, ImageSet(), keys::kInfoDlg, key, true, skin::CBitmapBtn::kFormatLeft, -1);
    label.SetCaption(label.GetCaption() + value);
    SetAllTextColors(label, kVersionTextColor);
}

void CInfoDlg::DrawSkinContent(QPainter& painter) {
    const std::u16string face = xml::LookupValue(skindocs::StringDocument(), keys::kGlobal, keys::kFont);
    painter.setFont(skin::SkinFont(face.empty() ? QStringLiteral("Arial") : skin::ToQString(face), kTitleHeight,
                                   kTitleWeight));
    painter.setPen(skin::ColorFromColorRef(kWhite));
    skin::DrawSkinString(painter, keys::kInfoDlg, keys::kStrTitle,
                         skin::DT_CENTER | skin::DT_VCENTER | skin::DT_SINGLELINE | skin::DT_END_ELLIPSIS);
}

void CInfoDlg::OnOk() { done(kPromptContinue); }

void CInfoDlg::OnUpdate() {
    const int confirmed = setup_.confirmUpdate ? setup_.confirmUpdate(this) : 1;
    if (confirmed == 1) done(kPromptStartUpdater);
}

void CInfoDlg::CentreOnParent() {
    const QWidget* owner = parentWidget() != nullptr ? parentWidget()->window() : nullptr;
    if (owner == nullptr) return;
    move(owner->geometry().center() - QPoint(width() / 2, height() / 2));
}

}  // namespace fwstatus
