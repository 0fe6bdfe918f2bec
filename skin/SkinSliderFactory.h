// Creates an image slider from its placement record in the button document.
#pragma once

#include "PngHSliderBar.h"
#include "SkinPictures.h"
#include "SkinRecord.h"

#include <QString>
#include <QWidget>

#include <string_view>

namespace skin {

// Reads the record `section`/`key` of the button document, loads the thumbs (paths as given), makes
// `slider` a child of `page` at the record's rectangle (moved by the image set's origin), cuts its
// track pictures out of the page pictures there (NORMAL track, DOWN filled, DISABLE disabled) and sets
// the range. A missing record gives a slider of size 0; missing pictures leave their looks empty.
// Returns the parsed record.
SkinRecord CreateSkinSlider(CPngHSliderBar& slider, QWidget* page, const SkinImageSet& imageSet,
                            std::u16string_view section, std::u16string_view key, int controlId,
                            const QString& thumbFile, const QString& secondThumbFile, const QString& hoverThumbFile,
                            bool thumbAtTop, int minimum, int maximum);

}  // namespace skin
