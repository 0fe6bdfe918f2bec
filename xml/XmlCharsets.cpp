#include "XmlCharsets.h"

#include "XmlText.h"

#include <array>
#include <cstdint>
#include <iterator>
#include <string_view>

namespace xml {

namespace {

struct CharsetName {
    std::string_view name;
    int codePage;
};

constexpr CharsetName kCharsets[] = {
#include "XmlCharsetTable.inc"
};

constexpr std::size_t kBuckets = 150;
constexpr std::size_t kMaxNameLength = 100;
constexpr uint16_t kNone = 0xFFFF;

template <typename Text>
std::size_t BucketOf(const Text& name) {
    std::size_t sum = 0;
    for (auto c : name) sum += static_cast<std::size_t>(c);
    return sum % kBuckets;
}

// Names chained per bucket; built once.
struct CharsetBuckets {
    std::array<uint16_t, kBuckets> head{};
    std::array<uint16_t, std::size(kCharsets)> next{};

    CharsetBuckets() {
        head.fill(kNone);
        for (std::size_t i = std::size(kCharsets); i-- > 0;) {
            const std::size_t b = BucketOf(kCharsets[i].name);
            next[i] = head[b];
            head[b] = static_cast<uint16_t>(i);
        }
    }
};

const CharsetBuckets& Buckets() {
    static const CharsetBuckets buckets;
    return buckets;
}

bool EqualsLowered(std::string_view tableName, std::u16string_view lowered) {
    if (tableName.size() != lowered.size()) return false;
    for (std::size_t i = 0; i < lowered.size(); ++i) {
        if (static_cast<unsigned char>(tableName[i]) != lowered[i]) return false;
    }
    return true;
}

}  // namespace

int CodePageOfCharset(std::u16string_view name) {
    if (name.empty()) return kCodePageAnsi;
    if (name.size() >= kMaxNameLength) return kCodePageUnknown;
    std::u16string lowered(name);
    for (auto& c : lowered) c = AsciiLower(c);
    const CharsetBuckets& buckets = Buckets();
    for (uint16_t i = buckets.head[BucketOf(lowered)]; i != kNone; i = buckets.next[i]) {
        if (EqualsLowered(kCharsets[i].name, lowered)) return kCharsets[i].codePage;
    }
    return kCodePageUnknown;
}

int CodePageOfEncoding(std::u16string_view name) {
    constexpr std::u16string_view kUtf32 = u"UTF-32";
    if (name.size() >= kUtf32.size() && EqualIgnoringAsciiCase(name.substr(0, kUtf32.size()), kUtf32)) {
        return kCodePageUtf32;
    }
    return CodePageOfCharset(name);
}

std::size_t CharsetNameCount() { return std::size(kCharsets); }

std::string_view CharsetNameAt(std::size_t index) { return kCharsets[index].name; }

}  // namespace xml
