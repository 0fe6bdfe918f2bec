// Reading names and attributes out of a start tag in the document text.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace xml {

// The tag name token at `pos`: whitespace skipped, then every character up to a name delimiter,
// bounded by `end`. Empty when no name character is there.
std::u16string_view ReadNameToken(std::u16string_view text, std::size_t pos, std::size_t end);

// Whether an element whose name token is `token` answers to the searched `name`: the name starts with
// exactly the token and either ends there or goes on with a space, '=', '/', '[' or ']'. An empty
// searched name matches every element.
bool NameTokenMatches(std::u16string_view token, std::u16string_view name, bool ignoreCase);

// The raw (not entity-decoded) value of attribute `name` in the start tag [tagBegin, tagEnd), where
// tagBegin is the tag's '<'. A matching attribute written without '=' gives an empty value;
// std::nullopt when the tag has no such attribute.
std::optional<std::u16string_view> FindAttributeValue(std::u16string_view text, std::size_t tagBegin,
                                                      std::size_t tagEnd, std::u16string_view name,
                                                      bool ignoreCase);

}  // namespace xml
