// The application palette of the skinned programs. Skinned pages paint themselves from pictures; the
// palette matters for what the platform still draws: the colour picker's frames and backgrounds,
// tooltips, message boxes and the in-place editor's default colours. It follows the shipped skin's
// dark scheme so those parts sit calmly on the pages.
#pragma once

#include <QPalette>

namespace skin {

QPalette SkinPalette();

}  // namespace skin
