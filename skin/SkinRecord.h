// The one-line placement record of a skinned widget: "NAME,LEFT,TOP,WIDTH,HEIGHT,TEXT,FLAG".
//
// NAME is ignored (it may be empty, so a record can start with a comma). LEFT, TOP, WIDTH and HEIGHT
// are read together as "%d,%d,%d,%d" right after the first comma; numbers that cannot be read are 0.
// TEXT is the field between the second-to-last and the last comma, FLAG the field after the last.
// No Qt: the records are plain text from the button document or the updater's layout document.
#pragma once

#include <string>
#include <string_view>

namespace skin {

// A rectangle in a page's client coordinates: right = left + width, bottom = top + height.
struct SkinRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const SkinRect&) const = default;
};

struct SkinRecord {
    SkinRect rect;
    std::u16string text;
    // The configuration program's reading: FLAG's leading decimal digits ("TRUE" and "FALSE" are 0).
    int flag = 0;
    // The updater's reading: whether the record after its name contains "TRUE" anywhere.
    bool updaterFlag = false;
};

// Parses a record. Every number saturates at the limits of int, and right and bottom saturate too, so
// a record with huge numbers gives a huge rectangle rather than an overflow.
SkinRecord ParseSkinRecord(std::u16string_view record);

// The leading decimal integer of `text` as the skin writes numbers: white space, an optional sign, then
// digits; anything after them is ignored. 0 when no digit comes; saturates at the limits of int. The
// record's FLAG and the skin's single numbers (SIZE, OFFSETX, ...) are read this way.
int LeadingInteger(std::u16string_view text);

}  // namespace skin
