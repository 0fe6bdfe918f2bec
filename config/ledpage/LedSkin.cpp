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

std::shared_ptr<skin::DeferredPicture> Named(const QString& folder, std::u16string_view section,
                                             std::u16string_view key, qreal ratio) {
    return skin::DeferredPicture::Named(folder, skin::ToQString(xml::LookupValue(skindocs::SkinDocument(), section, key)),
                                        ratio);
}

}  // namespace

void StatePictures::Load(const QString& folder, std::u16string_view section, qreal ratio) {
    normalSource = Named(folder, section, keys::kNormal, ratio);
    over = Named(folder, section, keys::kOver, ratio);
    down = Named(folder, section, keys::kDown, ratio);
    disable = Named(folder, section, keys::kDisable, ratio);
    normal.DeferWhole(normalSource);
}

skin::SkinImageSet StatePictures::Set() const {
    skin::SkinImageSet set;
    set.deferredNormal = normalSource;
    set.deferredOver = over;
    set.deferredDown = down;
    set.deferredDisable = disable;
    return set;
}

void StatePictures::FreeStates() {
    normalSource.reset();
    over.reset();
    down.reset();
    disable.reset();
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
