#include "LedSkin.h"

#include "SkinAttributes.h"
#include "SkinDocuments.h"
#include "SkinKeys.h"
#include "SkinRecord.h"
#include "XmlDocument.h"

namespace config {

namespace keys = skindocs::keys;

namespace {

// 0x00BBGGRR forms of the skin palette: dark text #3A3F4A on the light idle buttons, white on the
// accent fill of hovered and checked ones, disabled text #5A606B.
constexpr std::uint32_t kText = 0x4A3F3A;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kDisabledText = 0x6B605A;

void LoadNamed(const QString& folder, std::u16string_view section, std::u16string_view key, QImage& picture,
               qreal ratio) {
    const QString name = skin::ToQString(xml::LookupValue(skindocs::SkinDocument(), section, key));
    if (!name.isEmpty()) skin::LoadPictureFile(folder + name, picture, nullptr, ratio);
}

}  // namespace

void StatePictures::Load(const QString& folder, std::u16string_view section, qreal ratio) {
    LoadNamed(folder, section, keys::kNormal, normal, ratio);
    LoadNamed(folder, section, keys::kOver, over, ratio);
    LoadNamed(folder, section, keys::kDown, down, ratio);
    LoadNamed(folder, section, keys::kDisable, disable, ratio);
}

void StatePictures::FreeStates() {
    over = QImage();
    down = QImage();
    disable = QImage();
}

void SetSkinCaptionColors(skin::CBitmapBtn& button) { button.SetTextColors(kText, kWhite, kDisabledText, kWhite); }

void SetPrimaryCaptionColors(skin::CBitmapBtn& button) { button.SetTextColors(kWhite, kWhite, kDisabledText, kWhite); }

int LedAttribute(std::u16string_view key, std::u16string_view attribute) {
    return skin::SkinInteger(xml::LookupAttribute(skindocs::ButtonDocument(), keys::kLed, key, attribute));
}

QRect RecordRect(std::u16string_view section, std::u16string_view key) {
    return skin::ToQRect(skin::ParseSkinRecord(xml::LookupValue(skindocs::ButtonDocument(), section, key)).rect);
}

}  // namespace config
