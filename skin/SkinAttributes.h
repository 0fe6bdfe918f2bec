// Reading single values of the skin documents: texts as QString and numbers the way the skin writes
// them (leading white space, an optional sign, decimal digits; anything else ends the number).
#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace skin {

QString ToQString(std::u16string_view text);
std::u16string ToU16(const QString& text);

// The leading decimal integer of `text`; 0 when it starts with no number. Saturates at the limits
// of int.
int SkinInteger(std::u16string_view text);

}  // namespace skin
