#include "IniDocument.h"

#include <utility>

namespace config {

namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

std::u16string_view Trim(std::u16string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

char16_t FoldCase(char16_t c) { return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - u'a' + u'A') : c; }

bool SameName(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldCase(a[i]) != FoldCase(b[i])) return false;
    }
    return true;
}

// The name of a section line, or nullopt for any other line.
std::optional<std::u16string_view> SectionName(std::u16string_view line) {
    const std::u16string_view trimmed = Trim(line);
    if (trimmed.empty() || trimmed.front() != u'[') return std::nullopt;
    const std::size_t close = trimmed.find(u']');
    if (close == std::u16string_view::npos) return std::nullopt;
    return Trim(trimmed.substr(1, close - 1));
}

struct KeyLine {
    std::u16string_view key;
    std::u16string_view value;
};

// The key and value of a key line, or nullopt for comments and lines without '='.
std::optional<KeyLine> SplitKeyLine(std::u16string_view line) {
    const std::u16string_view trimmed = Trim(line);
    if (trimmed.empty() || trimmed.front() == u';') return std::nullopt;
    const std::size_t equals = trimmed.find(u'=');
    if (equals == std::u16string_view::npos) return std::nullopt;
    return KeyLine{Trim(trimmed.substr(0, equals)), Trim(trimmed.substr(equals + 1))};
}

// "key=value" (built by appending: GCC 12 misreports literal + string concatenations under -O3).
std::u16string KeyLineText(std::u16string_view key, std::u16string_view value) {
    std::u16string line(key);
    line.push_back(u'=');
    line.append(value);
    return line;
}

std::u16string StripQuotes(std::u16string_view value) {
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return std::u16string(value);
}

}  // namespace

IniDocument IniDocument::Parse(std::u16string_view text) {
    IniDocument document;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = start;
        while (end < text.size() && text[end] != u'\r' && text[end] != u'\n') ++end;
        document.lines_.emplace_back(text.substr(start, end - start));
        if (end < text.size() && text[end] == u'\r' && end + 1 < text.size() && text[end + 1] == u'\n') ++end;
        start = end + 1;
    }
    return document;
}

std::u16string IniDocument::Text() const {
    std::u16string text;
    for (const std::u16string& line : lines_) {
        text += line;
        text += u"\r\n";
    }
    return text;
}

std::optional<std::size_t> IniDocument::FindSection(std::u16string_view section) const {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const auto name = SectionName(lines_[i]);
        if (name && SameName(*name, section)) return i;
    }
    return std::nullopt;
}

std::optional<std::size_t> IniDocument::FindKey(std::size_t header, std::u16string_view key) const {
    for (std::size_t i = header + 1; i < lines_.size() && !SectionName(lines_[i]); ++i) {
        const auto keyLine = SplitKeyLine(lines_[i]);
        if (keyLine && SameName(keyLine->key, key)) return i;
    }
    return std::nullopt;
}

std::optional<std::u16string> IniDocument::Value(std::u16string_view section, std::u16string_view key) const {
    const auto header = FindSection(section);
    if (!header) return std::nullopt;
    const auto line = FindKey(*header, key);
    if (!line) return std::nullopt;
    return StripQuotes(SplitKeyLine(lines_[*line])->value);
}

void IniDocument::SetValue(std::u16string_view section, std::u16string_view key, std::u16string_view value) {
    const auto header = FindSection(section);
    if (!header) {
        std::u16string sectionLine(1, u'[');
        sectionLine.append(section);
        sectionLine.push_back(u']');
        lines_.push_back(std::move(sectionLine));
        lines_.push_back(KeyLineText(key, value));
        return;
    }
    if (const auto line = FindKey(*header, key)) {
        // Keep the key as the file spells it; only the value changes.
        lines_[*line] = KeyLineText(SplitKeyLine(lines_[*line])->key, value);
        return;
    }
    // After the section's last key line, so trailing comments and blank lines stay behind the new key.
    std::size_t insertAt = *header + 1;
    for (std::size_t i = *header + 1; i < lines_.size() && !SectionName(lines_[i]); ++i) {
        if (SplitKeyLine(lines_[i])) insertAt = i + 1;
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt), KeyLineText(key, value));
}

}  // namespace config
