// Names of the program's function codes, read from the string document.
#pragma once

#include "XmlDocument.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace config {

// One entry of the function-code table: the string document's section (the category) and key (the
// function's name) that hold the code's text.
struct FunctionTextEntry {
    uint16_t code;
    std::u16string_view section;
    std::u16string_view key;
};

// The entry of a function code, or nullptr for a code without one.
const FunctionTextEntry* FindFunctionEntry(uint16_t code);

// The text of a function code in the string document; "" for a code without entry or a missing key.
std::u16string GetFunctionText(xml::CXmlDocument& strings, uint16_t code);

}  // namespace config
