// UTF-8 command-line texts to the UTF-16 of the package's text fields.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace fwpack {

// Nothing when the text is not well-formed UTF-8.
std::optional<std::u16string> utf16FromUtf8(std::string_view text);

}  // namespace fwpack
