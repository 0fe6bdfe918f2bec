#include "XmlTextConversion.h"

#include "XmlCharsets.h"
#include "XmlEntities.h"

#include <iconv.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstring>

namespace xml {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

// windows-1252 bytes 0x80-0x9F; the five bytes the code page leaves undefined map to themselves.
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// Decodes the one non-ASCII sequence at p[0] (p < end): writes its unit(s) at o and returns how many
// bytes it took. An invalid sequence (overlong, surrogate, out of range, truncated) becomes
// `replacement` and counts in `bad`; it takes its lead byte and the continuation bytes that follow.
inline std::size_t DecodeUtf8Sequence(const unsigned char* p, const unsigned char* end, char16_t*& o,
                                      char16_t replacement, std::size_t& bad) {
    const unsigned b = p[0];
    const std::size_t left = static_cast<std::size_t>(end - p);
    // The common valid forms first: two bytes, then three bytes outside the surrogates.
    if (b >= 0xC2 && b <= 0xDF && left >= 2 && (p[1] & 0xC0) == 0x80) {
        *o++ = static_cast<char16_t>(((b & 0x1F) << 6) | (p[1] & 0x3F));
        return 2;
    }
    if (b >= 0xE0 && b <= 0xEF && left >= 3 && (p[1] & 0xC0) == 0x80 && (p[2] & 0xC0) == 0x80) {
        const unsigned cp = ((b & 0x0F) << 12) | ((p[1] & 0x3Fu) << 6) | (p[2] & 0x3Fu);
        if (cp >= 0x800 && (cp < 0xD800 || cp > 0xDFFF)) {
            *o++ = static_cast<char16_t>(cp);
            return 3;
        }
    }
    uint32_t cp = 0;
    std::size_t need = 0;
    uint32_t min = 0;
    if (b >= 0xC2 && b <= 0xDF) { cp = b & 0x1F; need = 1; min = 0x80; }
    else if (b >= 0xE0 && b <= 0xEF) { cp = b & 0x0F; need = 2; min = 0x800; }
    else if (b >= 0xF0 && b <= 0xF4) { cp = b & 0x07; need = 3; min = 0x10000; }
    else {
        *o++ = replacement;
        ++bad;
        return 1;
    }
    std::size_t k = 1;
    for (; k <= need && k < left && (p[k] & 0xC0) == 0x80; ++k) cp = (cp << 6) | (p[k] & 0x3F);
    if (k <= need || cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        *o++ = replacement;
        ++bad;
        return k;  // the lead and the continuation bytes that were there
    }
    if (cp >= 0x10000) {
        cp -= 0x10000;
        *o++ = static_cast<char16_t>(0xD800 + (cp >> 10));
        *o++ = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    } else {
        *o++ = static_cast<char16_t>(cp);
    }
    return k;
}

// Whether the four bytes at p are two valid two-byte sequences (lead bytes C2 to DF).
inline bool TwoTwoByteSequences(const unsigned char* p) {
    uint32_t word;
    std::memcpy(&word, p, sizeof word);
    // Lead 110xxxxx, continuation 10xxxxxx, twice (little-endian: the first byte is the lowest), and
    // neither lead C0 or C1 (an overlong form).
    return (word & 0xC0E0C0E0u) == 0x80C080C0u && (p[0] & 0x1E) != 0 && (p[2] & 0x1E) != 0;
}

// Whether the eight bytes at p are four valid two-byte sequences, as TwoTwoByteSequences tests two:
// the lead bytes' bits 1 to 4 (zero only in C0 and C1) are tested in each 16-bit lane at once, as
// adding 0x7FFF carries into a lane's top bit only when they are not all zero.
static_assert(std::endian::native == std::endian::little, "the words are read with the first byte lowest");
inline bool FourTwoByteSequences(uint64_t word) {
    constexpr uint64_t kLaneTops = 0x8000800080008000u;
    const uint64_t leadBits = word & 0x001E001E001E001Eu;
    return (word & 0xC0E0C0E0C0E0C0E0u) == 0x80C080C080C080C0u &&
           ((leadBits + 0x7FFF7FFF7FFF7FFFu) & kLaneTops) == kLaneTops;
}

// The four characters of four two-byte sequences, each lane's lead and continuation bits joined in
// place: the lane's low byte is the lead (five bits), its high byte the continuation (six bits).
inline uint64_t DecodeFourTwoByteSequences(uint64_t word) {
    return ((word & 0x001F001F001F001Fu) << 6) | ((word >> 8) & 0x003F003F003F003Fu);
}

// Decodes UTF-8 from p to end into o (which has room for end - p units) and returns the end of the
// output. ASCII is widened 32 (near the end 16) bytes at a time: a block that holds a non-ASCII byte
// is widened as well, and only its leading ASCII bytes are kept (the output never runs ahead of the
// input, so the block always fits).
char16_t* DecodeUtf8Into(const unsigned char* p, const unsigned char* end, char16_t* o, char16_t replacement,
                         std::size_t& bad) {
    while (p < end) {
#if defined(__SSE2__)
        const __m128i zero = _mm_setzero_si128();
        // 32 bytes at a time, widened whatever they hold; where a non-ASCII byte is, the run ends.
        bool runEnded = false;
        while (end - p >= 32) {
            const __m128i v0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            const __m128i v1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(o), _mm_unpacklo_epi8(v0, zero));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(o + 8), _mm_unpackhi_epi8(v0, zero));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(o + 16), _mm_unpacklo_epi8(v1, zero));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(o + 24), _mm_unpackhi_epi8(v1, zero));
            const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(v0)) |
                                  (static_cast<unsigned>(_mm_movemask_epi8(v1)) << 16);
            if (mask != 0) {
                const unsigned ascii = static_cast<unsigned>(__builtin_ctz(mask));
                p += ascii;
                o += ascii;
                runEnded = true;
                break;
            }
            p += 32;
            o += 32;
        }
        while (!runEnded && end - p >= 16) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(o), _mm_unpacklo_epi8(v, zero));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(o + 8), _mm_unpackhi_epi8(v, zero));
            const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(v));
            if (mask != 0) {
                const unsigned ascii = static_cast<unsigned>(__builtin_ctz(mask));
                p += ascii;
                o += ascii;
                break;
            }
            p += 16;
            o += 16;
        }
#endif
        while (p < end && *p < 0x80) *o++ = *p++;
        // A run of non-ASCII characters (a word of Cyrillic, Greek or CJK text) stays in this loop, and
        // so does a single ASCII character inside it (the space between two such words); two-byte
        // characters (most alphabets) are taken four or two at a time.
        while (p < end) {
            if (*p < 0x80) {
                if (end - p < 2 || p[1] < 0x80) break;
                *o++ = *p++;
                continue;
            }
            if (end - p >= 8) {
                uint64_t word;
                std::memcpy(&word, p, sizeof word);
                if (FourTwoByteSequences(word)) {
                    const uint64_t units = DecodeFourTwoByteSequences(word);
                    std::memcpy(o, &units, sizeof units);
                    o += 4;
                    p += 8;
                    continue;
                }
            }
            if (end - p >= 4 && TwoTwoByteSequences(p)) {
                o[0] = static_cast<char16_t>(((p[0] & 0x1F) << 6) | (p[1] & 0x3F));
                o[1] = static_cast<char16_t>(((p[2] & 0x1F) << 6) | (p[3] & 0x3F));
                o += 2;
                p += 4;
            } else {
                p += DecodeUtf8Sequence(p, end, o, replacement, bad);
            }
        }
    }
    return o;
}

// Decodes UTF-8 and checks it in the same pass, replacing each invalid sequence (overlong, surrogate,
// out of range, truncated) by `replacement`. The output is sized for the most units the input can give
// (one per byte), cleared, decoded into in place and cut to what was written: the clearing store runs
// at the memory's full rate and takes less time than decoding into a small buffer and copying each
// block out of it.
std::u16string DecodeUtf8(std::string_view bytes, char16_t replacement, std::size_t* unmapped) {
    std::u16string out(bytes.size(), u'\0');
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    std::size_t bad = 0;
    const char16_t* written = DecodeUtf8Into(p, p + bytes.size(), out.data(), replacement, bad);
    out.resize(static_cast<std::size_t>(written - out.data()));
    if (unmapped) *unmapped = bad;
    return out;
}

// Calls f(codePoint, valid) for each character of UTF-16 text, pairing surrogates.
template <typename F>
void ForEachCodePoint(std::u16string_view text, F f) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            f(0x10000 + ((uint32_t(c) - 0xD800) << 10) + (text[i + 1] - 0xDC00), true);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            f(uint32_t(c), false);
        } else {
            f(uint32_t(c), true);
        }
    }
}

std::string EncodeUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 100);
    ForEachCodePoint(text, [&out](uint32_t cp, bool valid) {
        if (!valid) cp = kReplacement;
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    });
    return out;
}

// UTF-32 little-endian, by hand: an unpaired surrogate or a value beyond U+10FFFF becomes '?'.
std::u16string DecodeUtf32(std::string_view bytes, std::size_t* unmapped) {
    std::u16string out;
    out.reserve(bytes.size() / 4 + bytes.size() / 400);
    std::size_t bad = 0;
    for (std::size_t i = 0; i + 4 <= bytes.size(); i += 4) {
        uint32_t cp = 0;
        for (int k = 3; k >= 0; --k) cp = (cp << 8) | static_cast<unsigned char>(bytes[i + k]);
        if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            out.push_back(u'?');
            ++bad;
        } else {
            AppendCodePoint(out, cp);
        }
    }
    if (unmapped) *unmapped = bad;
    return out;
}

std::string EncodeUtf32(std::u16string_view text, std::size_t* unmapped) {
    std::string out;
    std::size_t bad = 0;
    ForEachCodePoint(text, [&](uint32_t cp, bool valid) {
        if (!valid) {
            cp = u'?';
            ++bad;
        }
        for (int k = 0; k < 4; ++k) out.push_back(static_cast<char>((cp >> (8 * k)) & 0xFF));
    });
    if (unmapped) *unmapped = bad;
    return out;
}

// UTF-16 bytes in the given order; an odd last byte is replaced. Surrogates are kept as they are.
std::u16string DecodeUtf16(std::string_view bytes, bool bigEndian, std::size_t* unmapped) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    std::u16string out(bytes.size() / 2 + bytes.size() % 2, u'\0');
    for (std::size_t i = 0; i < bytes.size() / 2; ++i) {
        const unsigned first = p[2 * i];
        const unsigned second = p[2 * i + 1];
        out[i] = static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    }
    if (bytes.size() % 2 != 0) out.back() = kReplacement;
    if (unmapped) *unmapped = bytes.size() % 2;
    return out;
}

std::string EncodeUtf16Le(std::u16string_view text) {
    std::string out(text.size() * 2, '\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        out[2 * i] = static_cast<char>(text[i] & 0xFF);
        out[2 * i + 1] = static_cast<char>(text[i] >> 8);
    }
    return out;
}

std::u16string DecodeWindows1252(std::string_view bytes) {
    std::u16string out(bytes.size(), u'\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const unsigned char b = static_cast<unsigned char>(bytes[i]);
        out[i] = (b >= 0x80 && b < 0xA0) ? kWindows1252High[b - 0x80] : char16_t(b);
    }
    return out;
}

// The iconv name of a code page of the charset table; nullptr when glibc has none (the list is in
// XmlTextConversion.h).
const char* IconvName(int codePage) {
    switch (codePage) {
        case 37: return "IBM037";
        case 420: return "IBM420";
        case 437: return "IBM437";
        case 500: return "IBM500";
        case 708: return "ISO-8859-6";
        case 737: return "CP737";
        case 775: return "IBM775";
        case 850: return "IBM850";
        case 852: return "IBM852";
        case 857: return "IBM857";
        case 861: return "IBM861";
        case 862: return "IBM862";
        case 866: return "IBM866";
        case 869: return "IBM869";
        case 870: return "IBM870";
        case 874: return "CP874";
        case 875: return "IBM875";
        case 932: return "CP932";
        case 936: return "CP936";
        case 949: return "CP949";
        case 950: return "CP950";
        case 1026: return "IBM1026";
        case 1140: return "IBM1140";
        case 1142: return "IBM1142";
        case 1143: return "IBM1143";
        case 1144: return "IBM1144";
        case 1145: return "IBM1145";
        case 1146: return "IBM1146";
        case 1147: return "IBM1147";
        case 1148: return "IBM1148";
        case 1149: return "IBM1149";
        case 1250: return "CP1250";
        case 1251: return "CP1251";
        case 1253: return "CP1253";
        case 1254: return "CP1254";
        case 1255: return "CP1255";
        case 1256: return "CP1256";
        case 1257: return "CP1257";
        case 1258: return "CP1258";
        case 1361: return "JOHAB";
        case 10000: return "MACINTOSH";
        case 10007: return "MAC-CYRILLIC";
        case 10029: return "MAC-CENTRALEUROPE";
        case 10079: return "MAC-IS";
        case 20000: return "EUC-TW";
        case 20002: return "BIG5";  // Big5 without the ETEN extension rows
        case 20106: return "DIN_66003";
        case 20107: return "SEN_850200_B";
        case 20108: return "NS_4551-1";
        case 20127: return "ASCII";
        case 20273: return "IBM273";
        case 20277: return "IBM277";
        case 20278: return "IBM278";
        case 20280: return "IBM280";
        case 20284: return "IBM284";
        case 20285: return "IBM285";
        case 20290: return "IBM290";
        case 20423: return "IBM423";
        case 20424: return "IBM424";
        case 20866: return "KOI8-R";
        case 20873: return "IBM871";
        case 20880: return "IBM880";
        case 20905: return "IBM905";
        case 21025: return "IBM1025";
        case 21866: return "KOI8-U";
        case 28591: return "ISO-8859-1";
        case 28592: return "ISO-8859-2";
        case 28593: return "ISO-8859-3";
        case 28594: return "ISO-8859-4";
        case 28595: return "ISO-8859-5";
        case 28596: return "ISO-8859-6";
        case 28597: return "ISO-8859-7";
        case 28598: return "ISO-8859-8";
        case 28599: return "ISO-8859-9";
        case 28605: return "ISO-8859-15";
        case 38598: return "ISO-8859-8";
        case 50220: case 50221: case 50222: return "ISO-2022-JP";
        case 50225: return "ISO-2022-KR";
        case 50930: return "IBM930";
        case 50933: return "IBM933";
        case 50935: return "IBM935";
        case 50937: return "IBM937";
        case 50939: return "IBM939";
        case 51932: return "EUC-JP";
        case 51936: return "EUC-CN";
        case 51949: return "EUC-KR";
        case 65000: return "UTF-7";
        default: return nullptr;
    }
}

constexpr const char* kUtf16Native = std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";

class Iconv {
public:
    Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Iconv() {
        if (ok()) iconv_close(cd_);
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;
    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return cd_; }

private:
    iconv_t cd_;
};

// The output of one iconv run, in a buffer that grows geometrically: a converter that stops at every
// rejected unit must not copy or clear the rest of the buffer each time.
class IconvOutput {
public:
    explicit IconvOutput(std::size_t initialBytes) : buffer_(initialBytes, '\0') {}

    enum class Outcome { kDone, kRejected, kIncomplete };

    // Converts as much of the input as iconv takes: all of it, or up to a unit it rejects (no mapping
    // or invalid), or up to an incomplete sequence at the end.
    Outcome Convert(Iconv& cd, char*& in, std::size_t& inLeft) { return Run(cd, &in, &inLeft); }

    // Brings the converter back to its initial state, writing what that takes: the closing shift of a
    // stateful target (utf-7, iso-2022-*, the double-byte EBCDIC code pages), or a character a source
    // decoder still holds back (windows-1258 waits for a combining mark).
    void Flush(Iconv& cd) {
        if (Run(cd, nullptr, nullptr) != Outcome::kDone) iconv(cd.get(), nullptr, nullptr, nullptr, nullptr);
    }

    void Append(const void* bytes, std::size_t count) {
        Reserve(count);
        std::memcpy(buffer_.data() + used_, bytes, count);
        used_ += count;
    }

    std::string Take() {
        buffer_.resize(used_);
        return std::move(buffer_);
    }

private:
    Outcome Run(Iconv& cd, char** in, std::size_t* inLeft) {
        for (;;) {
            Reserve(16);
            char* out = buffer_.data() + used_;
            std::size_t outLeft = buffer_.size() - used_;
            const std::size_t r = iconv(cd.get(), in, inLeft, &out, &outLeft);
            used_ = buffer_.size() - outLeft;
            if (r != static_cast<std::size_t>(-1)) return Outcome::kDone;
            if (errno == EINVAL) return Outcome::kIncomplete;
            if (errno != E2BIG) return Outcome::kRejected;
            buffer_.resize(buffer_.size() * 2);
        }
    }

    void Reserve(std::size_t count) {
        if (buffer_.size() - used_ < count) buffer_.resize(std::max(buffer_.size() * 2, used_ + count));
    }

    std::string buffer_;
    std::size_t used_ = 0;
};

// Input handed to iconv at once after a rejected unit. glibc converts through an intermediate buffer
// and, when a later step rejects a unit, converts the step's input again up to it: handing it the
// whole remaining input after every rejected unit costs kilobytes of work per unit. The window
// doubles with every clean pass, so clean text soon goes through in large pieces again.
constexpr std::size_t kWindowAfterRejection = 64;

// Runs iconv over the whole input and ends in the initial state. At a unit without mapping the
// converter is flushed, then `onInvalid` appends the replacement and returns how many input bytes to
// skip.
template <typename OnInvalid>
std::string RunIconv(Iconv& cd, std::string_view input, OnInvalid onInvalid) {
    IconvOutput out(input.size() * 2 + input.size() / 50 + 16);
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    std::size_t window = inLeft;
    while (inLeft > 0) {
        const std::size_t offered = std::min(window, inLeft);
        const bool windowEndsEarly = offered < inLeft;
        std::size_t offeredLeft = offered;
        const IconvOutput::Outcome outcome = out.Convert(cd, in, offeredLeft);
        inLeft -= offered - offeredLeft;
        // An incomplete sequence at the end of a window is completed by the next, larger window.
        if (outcome == IconvOutput::Outcome::kDone ||
            (outcome == IconvOutput::Outcome::kIncomplete && windowEndsEarly)) {
            window = std::max(window, kWindowAfterRejection) * 2;
            continue;
        }
        // A rejected unit, or an incomplete sequence at the end of the input.
        out.Flush(cd);
        const std::size_t skip = std::min(onInvalid(out, inLeft), inLeft);
        in += skip;
        inLeft -= skip;
        window = kWindowAfterRejection;
    }
    out.Flush(cd);
    return out.Take();
}

std::u16string DecodeWithIconv(const char* name, std::string_view bytes, std::size_t* unmapped, bool& ok) {
    Iconv cd(kUtf16Native, name);
    ok = cd.ok();
    if (!ok) return {};
    std::size_t bad = 0;
    const std::string raw = RunIconv(cd, bytes, [&bad](IconvOutput& out, std::size_t) {
        ++bad;
        const char16_t r = kReplacement;
        out.Append(&r, sizeof r);
        return std::size_t{1};
    });
    std::u16string out(raw.size() / 2, u'\0');
    std::memcpy(out.data(), raw.data(), out.size() * 2);
    if (unmapped) *unmapped = bad;
    return out;
}

std::string EncodeWithIconv(const char* name, std::u16string_view text, std::size_t* unmapped, bool& ok) {
    Iconv cd(name, kUtf16Native);
    ok = cd.ok();
    if (!ok) return {};
    std::size_t bad = 0;
    const std::string_view input(reinterpret_cast<const char*>(text.data()), text.size() * 2);
    std::string out = RunIconv(cd, input, [&bad, &input, &cd](IconvOutput& o, std::size_t inLeft) {
        ++bad;
        // The '?' in the target's own bytes (EBCDIC, UTF-16BE), in the state the converter is in.
        char16_t question = u'?';
        char* q = reinterpret_cast<char*>(&question);
        std::size_t qLeft = sizeof question;
        if (o.Convert(cd, q, qLeft) != IconvOutput::Outcome::kDone) o.Append("?", 1);
        // Skip one character: a whole surrogate pair when one starts here.
        const std::size_t at = input.size() - inLeft;
        char16_t unit = 0;
        if (inLeft >= 2) std::memcpy(&unit, input.data() + at, 2);
        return (unit >= 0xD800 && unit <= 0xDBFF && inLeft >= 4) ? std::size_t{4} : std::size_t{2};
    });
    if (unmapped) *unmapped = bad;
    return out;
}

}  // namespace

bool PassesUtf8Check(std::string_view bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t n = bytes.size();
    for (std::size_t i = 0; i < n && p[i] != 0;) {
        const unsigned char b = p[i];
        std::size_t follow;
        if (b < 0x80) follow = 0;
        else if ((b & 0xC0) == 0x80 || (b & 0xE0) == 0xC0) follow = 1;  // 10xxxxxx counts as a two-byte lead
        else if ((b & 0xF0) == 0xE0) follow = 2;
        else if ((b & 0xF8) == 0xF0) follow = 3;
        else return false;
        for (std::size_t k = 1; k <= follow; ++k) {
            if (i + k >= n || (p[i + k] & 0x80) == 0) return false;
        }
        i += follow + 1;
    }
    return true;
}

bool HasConverter(int codePage) {
    switch (codePage) {
        case kCodePageUnknown:
        case kCodePageAnsi:
        case kCodePageWindows1252:
        case kCodePageUtf16:
        case kCodePageUtf16Be:
        case kCodePageUtf8:
        case kCodePageUtf32:
            return true;
        default:
            break;
    }
    const char* name = IconvName(codePage);
    return name != nullptr && Iconv(kUtf16Native, name).ok();
}

std::u16string DecodeToUtf16(int codePage, std::string_view bytes, std::size_t* unmapped) {
    if (unmapped) *unmapped = 0;
    switch (codePage) {
        case kCodePageUtf8: return DecodeUtf8(bytes, kReplacement, unmapped);
        case kCodePageUtf32: return DecodeUtf32(bytes, unmapped);
        case kCodePageUtf16: return DecodeUtf16(bytes, false, unmapped);
        case kCodePageUtf16Be: return DecodeUtf16(bytes, true, unmapped);
        case kCodePageWindows1252:
        case kCodePageAnsi:
        case kCodePageUnknown:
            return DecodeWindows1252(bytes);
        default:
            break;
    }
    if (const char* name = IconvName(codePage)) {
        bool ok = false;
        std::u16string out = DecodeWithIconv(name, bytes, unmapped, ok);
        if (ok) return out;
    }
    return DecodeWindows1252(bytes);
}

std::string EncodeFromUtf16(int codePage, std::u16string_view text, std::size_t* unmapped) {
    if (unmapped) *unmapped = 0;
    switch (codePage) {
        case kCodePageUtf8: return EncodeUtf8(text);
        case kCodePageUtf32: return EncodeUtf32(text, unmapped);
        case kCodePageUtf16: return EncodeUtf16Le(text);
        default: break;
    }
    const char* name = IconvName(codePage);
    if (codePage == kCodePageUtf16Be) name = "UTF-16BE";
    if (name == nullptr) name = "CP1252";
    bool ok = false;
    std::string out = EncodeWithIconv(name, text, unmapped, ok);
    if (!ok) out = EncodeWithIconv("CP1252", text, unmapped, ok);
    return out;
}

std::u16string ConvertToUtf16(std::u16string_view encoding, std::string_view bytes, std::size_t* unmapped) {
    return DecodeToUtf16(CodePageOfEncoding(encoding), bytes, unmapped);
}

std::string ConvertFromUtf16(std::u16string_view encoding, std::u16string_view text, std::size_t* unmapped) {
    const int codePage = CodePageOfEncoding(encoding);
    std::size_t bad = 0;
    std::string out = EncodeFromUtf16(codePage, text, &bad);
    if (unmapped) *unmapped = codePage == kCodePageUtf8 ? 0 : bad;
    return out;
}

std::string ConvertBetween(std::u16string_view fromEncoding, std::u16string_view toEncoding,
                           std::string_view bytes, std::size_t* unmapped) {
    if (CodePageOfEncoding(fromEncoding) == kCodePageUtf8 && CodePageOfEncoding(toEncoding) == kCodePageUtf32) {
        // UTF-8 to UTF-32 is done by hand: an invalid UTF-8 sequence becomes '?'.
        return EncodeUtf32(DecodeUtf8(bytes, u'?', nullptr), unmapped);
    }
    return ConvertFromUtf16(toEncoding, ConvertToUtf16(fromEncoding, bytes), unmapped);
}

std::u16string Utf8ToUtf16(std::string_view bytes) { return DecodeUtf8(bytes, kReplacement, nullptr); }

std::string Utf16ToUtf8(std::u16string_view text) { return EncodeUtf8(text); }

}  // namespace xml
