#include "WarnDlg.h"

#include "PopupWindows.h"
#include "SkinAttributes.h"
#include "SkinDocuments.h"
#include "SkinFactory.h"
#include "SkinFont.h"
#include "SkinKeys.h"
#include "SkinTextFormat.h"
#include "XmlDocument.h"

#include <QPainter>

namespace config {

namespace {

// Centred both ways, word-wrapped, an ellipsis when too long.
constexpr unsigned kTextFormat = skin::DT_CENTER | skin::DT_VCENTER | skin::DT_WORDBREAK | skin::DT_END_ELLIPSIS;
constexpr std::uint32_t kTitleColor = 0xFFFFFF;
constexpr std::uint32_t kMessageColor = 0x565656;
constexpr std::uint32_t kCaptionColor = 0xFFFFFF;
// The font of labels whose record gives no FONT and SIZE: 29 pixels, written as the skin writes a pixel
// size, so it means what a record's SIZE of -29 means.
constexpr int kLabelFontHeight = -29;
constexpr int kLabelFontWeight = 400;

}  // namespace

CWarnDlg::CWarnDlg(QWidget* parent) : skin::CBaseDlg(parent) {
    SetSectionName(skin::ToQString(skindocs::keys::kWarnDlg));
    SetImageFolderName(skin::ToQString(skindocs::kPopDlgFolder));
    buttonSection_ = SectionName();
    for (skin::CBitmapBtn* button : {&ok_, &cancel_, &close_}) {
        connect(button, &skin::CBitmapBtn::command, this, &CWarnDlg::OnCommand);
    }
}

CWarnDlg::~CWarnDlg() = default;

void CWarnDlg::SetSections(const QString& section, const QString& buttonSection) {
    SetSectionName(section);
    buttonSection_ = buttonSection.isEmpty() ? section : buttonSection;
}

void CWarnDlg::InitDialog() {
    skin::CBaseDlg::InitDialog();
    MarkAsWarnDlg(*this, StringTitle(messageSection_));
    CentreOnParent(*this);
}

void CWarnDlg::LoadSkin() {
    skin::CBaseDlg::LoadSkin();
    const std::u16string section = skin::ToU16(buttonSection_);
    skin::CreateSkinButton(ok_, this, ImageSet(), section, skindocs::keys::kButtonOk, true,
                           skin::CBitmapBtn::kFormatCentred, -1);
    skin::CreateSkinButton(cancel_, this, ImageSet(), section, skindocs::keys::kButtonCancel, true,
                           skin::CBitmapBtn::kFormatCentred, -1);
    skin::CreateSkinButton(close_, this, ImageSet(), section, skindocs::keys::kButtonClose, true,
                           skin::CBitmapBtn::kFormatCentred, -1);
    for (skin::CBitmapBtn* button : {&ok_, &cancel_}) {
        button->SetNormalTextColor(kCaptionColor);
        button->SetHighlightTextColor(kCaptionColor);
        button->update();
        button->SetPressedOffset(true);
    }
    // The title and the message are drawn on the picture; assistive technology reads them from here.
    const std::u16string messageSection = skin::ToU16(messageSection_);
    xml::CXmlDocument& strings = skindocs::StringDocument();
    setAccessibleName(skin::ToQString(xml::LookupValue(strings, messageSection, skindocs::keys::kStrTitle)));
    setAccessibleDescription(skin::ToQString(xml::LookupValue(strings, messageSection, skindocs::keys::kStrWarn)));
}

void CWarnDlg::DrawSkinContent(QPainter& painter) {
    const std::u16string section = skin::ToU16(messageSection_);
    painter.save();
    painter.setFont(skin::SkinFont(QStringLiteral("Noto Sans"), kLabelFontHeight, kLabelFontWeight));
    painter.setPen(skin::ColorFromColorRef(kTitleColor));
    skin::DrawSkinString(painter, section, skindocs::keys::kStrTitle, kTextFormat);
    painter.setPen(skin::ColorFromColorRef(kMessageColor));
    const std::u16string message = xml::LookupValue(skindocs::StringDocument(), section, skindocs::keys::kStrWarn);
    skin::DrawSkinLabel(painter, section, skindocs::keys::kStrWarn, skin::ToQString(message), kTextFormat);
    painter.restore();
}

void CWarnDlg::OnCommand(int, skin::CBitmapBtn* sender) {
    if (sender == &ok_) {
        done(kOkResult);
    } else if (sender == &cancel_ || sender == &close_) {
        done(kCancelResult);
    }
}

void CWarnDlg::reject() { done(kCancelResult); }

}  // namespace config
