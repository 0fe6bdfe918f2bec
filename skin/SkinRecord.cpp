#include "SkinRecord.h"

#include <cstdint>
#include <limits>

namespace skin {

namespace {

constexpr std::int64_t kIntMin = std::numeric_limits<int>::min();
constexpr std::int64_t kIntMax = std::numeric_limits<int>::max();

int Saturate(std::int64_t value) { return static_cast<int>(value < kIntMin ? kIntMin : value > kIntMax ? kIntMax : value); }

bool IsSpace(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Reads one "%d" at `at`: white space, an optional sign, then digits. Returns false (and leaves `at`)
// when no digit follows; the value saturates at the limits of int.
bool ReadInteger(std::u16string_view text, std::size_t& at, int& value) {
    std::size_t i = at;
    while (i < text.size() && IsSpace(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    if (i >= text.size() || !IsDigit(text[i])) return false;
    std::int64_t magnitude = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        if (magnitude <= kIntMax + 1) magnitude = magnitude * 10 + (text[i] - u'0');
    }
    value = Saturate(negative ? -magnitude : magnitude);
    at = i;
    return true;
}

// "%d,%d,%d,%d": each number after the first needs its comma right after the previous number; the
// first that cannot be read ends the scan and it and the rest stay 0.
void ReadRectangle(std::u16string_view text, int (&numbers)[4]) {
    std::size_t at = 0;
    for (int n = 0; n < 4; ++n) {
        if (n > 0) {
            if (at >= text.size() || text[at] != u',') return;
            ++at;
        }
        if (!ReadInteger(text, at, numbers[n])) return;
    }
}

}  // namespace

SkinRecord ParseSkinRecord(std::u16string_view record) {
    SkinRecord result;
    const std::size_t firstComma = record.find(u',');
    if (firstComma == std::u16string_view::npos) return result;
    const std::u16string_view afterName = record.substr(firstComma + 1);

    int numbers[4] = {0, 0, 0, 0};
    ReadRectangle(afterName, numbers);
    result.rect.left = numbers[0];
    result.rect.top = numbers[1];
    result.rect.right = Saturate(std::int64_t{numbers[0]} + numbers[2]);
    result.rect.bottom = Saturate(std::int64_t{numbers[1]} + numbers[3]);

    const std::size_t lastComma = record.rfind(u',');
    const std::u16string_view flag = record.substr(lastComma + 1);
    if (lastComma > firstComma) {
        const std::size_t beforeLast = record.rfind(u',', lastComma - 1);
        result.text = std::u16string(record.substr(beforeLast + 1, lastComma - beforeLast - 1));
    }
    // Leading digits only: "TRUE", "FALSE" and an empty field read as 0.
    result.flag = LeadingInteger(flag);
    result.updaterFlag = afterName.find(u"TRUE") != std::u16string_view::npos;
    return result;
}

int LeadingInteger(std::u16string_view text) {
    std::size_t at = 0;
    int value = 0;
    return ReadInteger(text, at, value) ? value : 0;
}

}  // namespace skin
