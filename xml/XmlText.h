// Small character helpers shared by the scanner, the tag reader and the file reader.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace xml {

// Classes of the ASCII characters the scanner stops at, looked up instead of compared one by one.
enum XmlCharClass : uint8_t {
    kCharSpace = 1,           // space, tab, line feed, carriage return
    kCharNameDelimiter = 2,   // ends a tag or attribute name: whitespace and < > = \ / ? ! " ' ;
    kCharEndTagDelimiter = 4, // ends an end tag's name: whitespace, / and >
};

struct XmlCharClassTable {
    uint8_t classes[128] = {};
    constexpr XmlCharClassTable() {
        for (char c : {' ', '\t', '\n', '\r'}) classes[int(c)] = kCharSpace | kCharNameDelimiter | kCharEndTagDelimiter;
        for (char c : {'<', '>', '=', '\\', '/', '?', '!', '"', '\'', ';'}) classes[int(c)] |= kCharNameDelimiter;
        for (char c : {'/', '>'}) classes[int(c)] |= kCharEndTagDelimiter;
    }
};
inline constexpr XmlCharClassTable kXmlCharClasses{};

inline bool HasCharClass(char16_t c, uint8_t charClass) {
    return c < 128 && (kXmlCharClasses.classes[c] & charClass) != 0;
}

inline bool IsXmlSpace(char16_t c) { return HasCharClass(c, kCharSpace); }
inline bool IsNameDelimiter(char16_t c) { return HasCharClass(c, kCharNameDelimiter); }
inline bool IsEndTagNameDelimiter(char16_t c) { return HasCharClass(c, kCharEndTagDelimiter); }

inline char16_t AsciiLower(char16_t c) { return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c; }

inline bool EqualIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    }
    return true;
}

// The word of type `Word` at `bytes` (any alignment).
template <typename Word>
inline Word LoadWord(const char* bytes) {
    Word word;
    std::memcpy(&word, bytes, sizeof word);
    return word;
}

// Whether two texts hold the same units. Names are a few units long, so they are compared in place
// a word at a time rather than through a library call: the first and the last eight bytes (which
// overlap for names of four to eight units) and the words between them, or two overlapping four-byte
// words.
inline bool SameUnits(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    const char* x = reinterpret_cast<const char*>(a.data());
    const char* y = reinterpret_cast<const char*>(b.data());
    const std::size_t bytes = a.size() * sizeof(char16_t);
    if (bytes >= 8) {
        const uint64_t ends = (LoadWord<uint64_t>(x) ^ LoadWord<uint64_t>(y)) |
                              (LoadWord<uint64_t>(x + bytes - 8) ^ LoadWord<uint64_t>(y + bytes - 8));
        if (ends != 0) return false;
        for (std::size_t k = 8; k + 8 < bytes; k += 8) {
            if (LoadWord<uint64_t>(x + k) != LoadWord<uint64_t>(y + k)) return false;
        }
        return true;
    }
    if (bytes >= 4) {
        return LoadWord<uint32_t>(x) == LoadWord<uint32_t>(y) &&
               LoadWord<uint32_t>(x + bytes - 4) == LoadWord<uint32_t>(y + bytes - 4);
    }
    return bytes == 0 || LoadWord<uint16_t>(x) == LoadWord<uint16_t>(y);
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
