// The text of an initialisation file, held as its lines, with the look-ups and edits of the
// private-profile functions:
//   - a section line is "[name]" (blanks around the line and the name ignored, text after ']' ignored);
//   - a key line is "key=value", split at the first '=', blanks trimmed around key and value;
//   - comment lines (starting with ';'), blank lines and any other line are kept as they are;
//   - section and key names match without regard to (ASCII) case; the first of duplicates wins;
//   - a write replaces the value of an existing key in its line, adds a new key after the last key
//     line of its section, and adds a missing section at the end of the text.
// Lines end in CR LF when the text is written; a lone LF or CR also ends a line when reading.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace config {

class IniDocument {
public:
    static IniDocument Parse(std::u16string_view text);
    std::u16string Text() const;

    // The value of the key, with one matching pair of quotes (" or ') around it removed; nullopt
    // when the section or the key is missing.
    std::optional<std::u16string> Value(std::u16string_view section, std::u16string_view key) const;
    void SetValue(std::u16string_view section, std::u16string_view key, std::u16string_view value);

    const std::vector<std::u16string>& Lines() const { return lines_; }

private:
    // Index of the section's header line, or nullopt.
    std::optional<std::size_t> FindSection(std::u16string_view section) const;
    // Index of the key's line inside the section that starts at `header`, or nullopt.
    std::optional<std::size_t> FindKey(std::size_t header, std::u16string_view key) const;

    std::vector<std::u16string> lines_;
};

}  // namespace config
