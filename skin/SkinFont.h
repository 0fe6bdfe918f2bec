// Fonts and colours as the skin files write them.
//
// Font heights in the skin (the SIZE attribute, GLOBAL/FONT_SIZE, the built-in heights below) are
// classic font-creation heights in pixels:
//   negative h - the character height: the font's em size is |h| pixels (Qt's pixel size);
//   positive h - the cell height: ascent plus descent of the font is h pixels, so the em size is
//                h scaled by em / (ascent + descent) of that face;
//   0          - the default size.
// Every font the toolkit makes from skin values goes through SkinFont, the one place of this mapping.
// Colours are 0x00BBGGRR numbers (red in the low byte); the top byte is ignored.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>

#include <cstdint>

namespace skin {

// The caption height of buttons and the in-place editor when the string document gives no
// GLOBAL/FONT_SIZE: 14 pixels, written as the skin writes a pixel size.
constexpr int kDefaultCaptionHeight = -14;

// Heights beyond this many pixels are taken as this many: a skin file cannot ask for a giant glyph.
constexpr int kLargestFontPixels = 1000;

// A sans-serif font of `face` (empty: the platform's default face), `height` as above and `weight`
// (100 to 900; 0 is the normal weight 400).
QFont SkinFont(const QString& face, int height, int weight);

// The Qt colour of a 0x00BBGGRR number.
QColor ColorFromColorRef(std::uint32_t colorRef);

}  // namespace skin
