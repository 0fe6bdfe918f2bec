#include "XmlOpenNames.h"

#include "XmlText.h"

namespace xml {

namespace {

// FNV-1a over the UTF-16 units; the state after each unit is the hash of the name up to there, so
// that every candidate part of an end tag name is hashed in one pass.
constexpr uint64_t kHashStart = 14695981039346656037ull;
constexpr uint64_t kHashPrime = 1099511628211ull;

uint64_t HashStep(uint64_t hash, char16_t unit) { return (hash ^ unit) * kHashPrime; }

bool EndsMatchedName(char16_t c) { return c == u' ' || c == u'=' || c == u'/' || c == u'[' || c == u']'; }

}  // namespace

XmlOpenNames::XmlOpenNames(bool ignoreCase)
    : ignoreCase_(ignoreCase), counts_(0, KeyHash{}, KeyEqual{ignoreCase}) {}

bool XmlOpenNames::KeyEqual::operator()(const Key& a, const Key& b) const {
    return a.hash == b.hash && (ignoreCase ? EqualIgnoringAsciiCase(a.name, b.name) : SameUnits(a.name, b.name));
}

uint64_t XmlOpenNames::Hash(std::u16string_view name) const {
    uint64_t hash = kHashStart;
    for (char16_t c : name) hash = HashStep(hash, ignoreCase_ ? AsciiLower(c) : c);
    return hash;
}

void XmlOpenNames::Remove(std::u16string_view name) {
    const auto it = counts_.find(Key{name, Hash(name)});
    if (it == counts_.end()) return;
    if (--it->second == 0) counts_.erase(it);
}

bool XmlOpenNames::Matches(std::u16string_view endTagName) const {
    // An empty end tag name answers to any element.
    if (endTagName.empty()) return !counts_.empty();
    uint64_t hash = kHashStart;
    for (std::size_t i = 0; i < endTagName.size(); ++i) {
        const char16_t c = endTagName[i];
        if (i > 0 && EndsMatchedName(c) && Contains(endTagName.substr(0, i), hash)) return true;
        hash = HashStep(hash, ignoreCase_ ? AsciiLower(c) : c);
    }
    return Contains(endTagName, hash);
}

}  // namespace xml
