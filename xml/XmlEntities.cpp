#include "XmlEntities.h"

#include <algorithm>
#include <iterator>

namespace xml {

namespace {

struct NamedEntity {
    std::u16string_view name;
    uint32_t codePoint;
};

constexpr NamedEntity kEntities[] = {
#include "XmlEntityTable.inc"
};

constexpr std::size_t kMaxReferenceLength = 9;

bool ParseNumber(std::u16string_view digits, int base, uint32_t& value) {
    if (digits.empty()) return false;
    uint32_t v = 0;
    for (char16_t c : digits) {
        int d;
        if (c >= u'0' && c <= u'9') d = c - u'0';
        else if (base == 16 && c >= u'a' && c <= u'f') d = c - u'a' + 10;
        else if (base == 16 && c >= u'A' && c <= u'F') d = c - u'A' + 10;
        else return false;
        v = v * base + d;  // at most 8 digits: no overflow
    }
    value = v;
    return true;
}

// The code point a reference body (between '&' and ';') stands for; 0 when it stands for none.
uint32_t ReferenceCodePoint(std::u16string_view body) {
    if (!body.empty() && body[0] == u'#') {
        uint32_t value = 0;
        const bool hex = body.size() > 1 && (body[1] == u'x' || body[1] == u'X');
        if (!ParseNumber(body.substr(hex ? 2 : 1), hex ? 16 : 10, value)) return 0;
        return value <= 0x10FFFF ? value : 0;
    }
    return EntityCodePoint(body);
}

}  // namespace

uint32_t EntityCodePoint(std::u16string_view name) {
    auto it = std::lower_bound(std::begin(kEntities), std::end(kEntities), name,
                               [](const NamedEntity& e, std::u16string_view n) { return e.name < n; });
    return (it != std::end(kEntities) && it->name == name) ? it->codePoint : 0;
}

void AppendCodePoint(std::u16string& out, uint32_t codePoint) {
    if (codePoint >= 0x10000) {
        codePoint -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (codePoint >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF)));
    } else {
        out.push_back(static_cast<char16_t>(codePoint));
    }
}

std::u16string DecodeEntities(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t amp = text.find(u'&', i);
        if (amp == std::u16string_view::npos) {
            out.append(text.substr(i));
            break;
        }
        out.append(text.substr(i, amp - i));
        std::size_t j = amp + 1;
        while (j < text.size() && j - amp - 1 < kMaxReferenceLength && text[j] < 0x80 && text[j] != u';') ++j;
        const uint32_t codePoint =
            (j < text.size() && text[j] == u';') ? ReferenceCodePoint(text.substr(amp + 1, j - amp - 1)) : 0;
        if (codePoint == 0) {
            out.push_back(u'&');
            i = amp + 1;
        } else {
            AppendCodePoint(out, codePoint);
            i = j + 1;
        }
    }
    return out;
}

}  // namespace xml
