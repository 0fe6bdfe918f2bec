// Decoding of character and entity references in element text and attribute values.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace xml {

// Replaces every "&name;", "&#digits;" and "&#xhex;" reference by its character(s). A reference is
// at most 9 ASCII characters between '&' and ';'; names are HTML 4.01's character entities plus
// "apos", in their exact case. Anything else (unknown name, code point 0 or beyond U+10FFFF, no ';')
// keeps its '&' literally. Code points from U+10000 become surrogate pairs.
std::u16string DecodeEntities(std::u16string_view text);

// The code point of a named entity, or 0 when the name is unknown.
uint32_t EntityCodePoint(std::u16string_view name);

// Appends a code point as UTF-16 (a surrogate pair from U+10000 on).
void AppendCodePoint(std::u16string& out, uint32_t codePoint);

}  // namespace xml
