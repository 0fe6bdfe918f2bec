// Small character helpers shared by the scanner, the tag reader and the file reader.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace xml {

inline bool IsXmlSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; }

// Characters that end a tag or attribute name: whitespace and < > = \ / ? ! " ' ;
inline bool IsNameDelimiter(char16_t c) {
    switch (c) {
        case u' ': case u'\t': case u'\n': case u'\r':
        case u'<': case u'>': case u'=': case u'\\': case u'/':
        case u'?': case u'!': case u'"': case u'\'': case u';':
            return true;
        default:
            return false;
    }
}

inline char16_t AsciiLower(char16_t c) { return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c; }

inline bool EqualIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    }
    return true;
}

inline void AppendAscii(std::u16string& out, std::string_view ascii) {
    for (char c : ascii) out.push_back(static_cast<unsigned char>(c));
}

inline void AppendNumber(std::u16string& out, uint64_t value) {
    AppendAscii(out, std::to_string(value));
}

inline std::u16string FromAscii(std::string_view ascii) {
    std::u16string out;
    AppendAscii(out, ascii);
    return out;
}

}  // namespace xml
