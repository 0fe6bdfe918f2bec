#include "SkinSliderFactory.h"

#include "SkinDocuments.h"
#include "SkinFactory.h"

namespace skin {

SkinRecord CreateSkinSlider(CPngHSliderBar& slider, QWidget* page, const SkinImageSet& imageSet,
                            std::u16string_view section, std::u16string_view key, int controlId,
                            const QString& thumbFile, const QString& secondThumbFile, const QString& hoverThumbFile,
                            bool thumbAtTop, int minimum, int maximum) {
    const SkinRecord record = ParseSkinRecord(xml::LookupValue(skindocs::ButtonDocument(), section, key));
    const QRect rect = ToQRect(record.rect).translated(imageSet.origin);
    slider.LoadThumbs(thumbFile, secondThumbFile, hoverThumbFile, thumbAtTop);
    slider.CreateSlider(page, controlId, rect);
    slider.SetTrackPictures(imageSet, rect);
    slider.SetRange(minimum, maximum);
    MarkSkinKey(slider, section, key);
    return record;
}

}  // namespace skin
