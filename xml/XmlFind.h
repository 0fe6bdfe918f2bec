// Fast searches for markup characters in UTF-16 text: the scanner spends most of its time looking
// for the next '<' or '>', so these look at eight units at a time where SSE2 is available.
#pragma once

#include "XmlText.h"

#include <cstddef>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace xml {

#if defined(__SSE2__)
// One bit per unit of the sixteen units at `text` that equal a, b or c (bit k for unit k): the two
// halves' comparison results are packed to bytes before their mask is taken.
inline unsigned MatchMask16(const char16_t* text, __m128i va, __m128i vb, __m128i vc) {
    const __m128i v0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text));
    const __m128i v1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + 8));
    const __m128i hit0 = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi16(v0, va), _mm_cmpeq_epi16(v0, vb)),
                                      _mm_cmpeq_epi16(v0, vc));
    const __m128i hit1 = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi16(v1, va), _mm_cmpeq_epi16(v1, vb)),
                                      _mm_cmpeq_epi16(v1, vc));
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_packs_epi16(hit0, hit1)));
}
#endif

// Index of the first unit in [from, end) equal to a, b or c; `end` when there is none.
inline std::size_t FindFirstOf(const char16_t* text, std::size_t from, std::size_t end, char16_t a, char16_t b,
                               char16_t c) {
    std::size_t i = from;
#if defined(__SSE2__)
    const __m128i va = _mm_set1_epi16(static_cast<short>(a));
    const __m128i vb = _mm_set1_epi16(static_cast<short>(b));
    const __m128i vc = _mm_set1_epi16(static_cast<short>(c));
    for (; i + 16 <= end; i += 16) {
        const unsigned mask = MatchMask16(text + i, va, vb, vc);
        if (mask != 0) return i + static_cast<std::size_t>(__builtin_ctz(mask));
    }
#endif
    for (; i < end; ++i) {
        const char16_t u = text[i];
        if (u == a || u == b || u == c) return i;
    }
    return end;
}

inline std::size_t FindUnit(const char16_t* text, std::size_t from, std::size_t end, char16_t a) {
    return FindFirstOf(text, from, end, a, a, a);
}

// Index of the first unit in [from, end) of character class `charClass` (XmlText.h); `end` when there
// is none. Every unit of those classes is at most U+003F or a backslash: eight units at a time are
// tested for that, and only the units that pass are looked up.
inline std::size_t FindCharClass(const char16_t* text, std::size_t from, std::size_t end, uint8_t charClass) {
    std::size_t i = from;
#if defined(__SSE2__)
    const __m128i highestLow = _mm_set1_epi16(0x3F);
    const __m128i backslash = _mm_set1_epi16(static_cast<short>(u'\\'));
    const __m128i zero = _mm_setzero_si128();
    for (; i + 8 <= end; i += 8) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i));
        const __m128i low = _mm_cmpeq_epi16(_mm_subs_epu16(v, highestLow), zero);
        unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(low, _mm_cmpeq_epi16(v, backslash))));
        while (mask != 0) {
            const std::size_t k = static_cast<std::size_t>(__builtin_ctz(mask)) / 2;
            if (HasCharClass(text[i + k], charClass)) return i + k;
            mask &= mask - 1;  // the unit's two bits
            mask &= mask - 1;
        }
    }
#endif
    while (i < end && !HasCharClass(text[i], charClass)) ++i;
    return i;
}

}  // namespace xml
