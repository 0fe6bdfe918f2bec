// UTF-16 to UTF-8, for handing the programs' wide texts to byte-oriented system interfaces.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// Converts UTF-16 code units to UTF-8. A surrogate without its partner becomes U+FFFD, so the result
// is always valid UTF-8.
std::string Utf8FromUtf16(std::u16string_view text);

}  // namespace platform
