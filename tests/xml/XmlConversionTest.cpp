// The charset table and the conversions between encodings.
#include "XmlTestSupport.h"

#include "XmlCharsets.h"

#include <set>
#include <string>

namespace xml::test {
namespace {

std::string Repeat(std::string_view piece, std::size_t times) {
    std::string out;
    for (std::size_t i = 0; i < times; ++i) out += piece;
    return out;
}

TEST(XmlCharsets, TableLookups) {
    EXPECT_EQ(CharsetNameCount(), 254u);
    struct Case {
        const char16_t* name;
        int codePage;
    };
    const Case cases[] = {
        {u"utf-8", 65001},       {u"UTF-8", 65001},          {u"Shift_JIS", 932},
        {u"ISO-8859-1", 28591},  {u"latin1", 28591},         {u"iso_8859-1:1987", 28591},
        {u"us-ascii", 20127},    {u"windows-1252", 1252},    {u"koi8-r", 20866},
        {u"_iso-2022-jp$sio", 50222},                         {u"cp500", 775},
        {u"csiso", 28593},       {u"unicodefffe", 1201},     {u"x-ebcdic-cyrillicserbianbulgarian", 21025},
        {u"", 0},                {u"no-such-charset", -1},   {u"utf8", -1},
    };
    for (const Case& c : cases) EXPECT_EQ(CodePageOfCharset(c.name), c.codePage) << Utf8(c.name);
    EXPECT_EQ(CodePageOfCharset(std::u16string(100, u'a')), -1) << "names of 100 characters are unknown";
    EXPECT_EQ(CodePageOfEncoding(u"UTF-32LE"), kCodePageUtf32);
    EXPECT_EQ(CodePageOfEncoding(u"utf-32"), kCodePageUtf32);
}

TEST(XmlConversion, DecodeThroughCodePages) {
    struct Case {
        const char16_t* encoding;
        std::string bytes;
        const char* utf8;
    };
    const Case cases[] = {
        {u"utf-8", "a\xC3\xA9\xE2\x82\xAC", "a\xC3\xA9\xE2\x82\xAC"},
        // An impossible lead byte and its stray continuation are replaced one by one; an encoded surrogate whole.
        {u"utf-8", "a\xC0\x80z\xED\xA0\x80", "a\xEF\xBF\xBD\xEF\xBF\xBDz\xEF\xBF\xBD"},
        {u"windows-1252", "\x80\x81\xE9", "\xE2\x82\xAC\xC2\x81\xC3\xA9"},
        {u"", "\x80", "\xE2\x82\xAC"},                  // ANSI
        {u"bogus", "\x80", "\xE2\x82\xAC"},             // unknown names use the ANSI code page
        {u"x-mac-japanese", "\x80", "\xE2\x82\xAC"},    // a code page iconv lacks: ANSI as well
        // The national variants of ISO 646 put letters where ASCII has brackets.
        {u"x-ia5-german", "[\\]", "\xC3\x84\xC3\x96\xC3\x9C"},
        {u"x-ia5-swedish", "[\\]", "\xC3\x84\xC3\x96\xC3\x85"},
        {u"x-ia5-norwegian", "[\\]", "\xC3\x86\xC3\x98\xC3\x85"},
        // UTF-16 source bytes: little-endian for utf-16, big-endian for unicodeFFFE; an odd last byte is
        // replaced.
        {u"utf-16", "\x14\x04\x30\x04", "\xD0\x94\xD0\xB0"},
        {u"unicode", std::string("a\0=\xD8\0\xDE", 6), "a\xF0\x9F\x98\x80"},
        {u"unicodeFFFE", std::string("\x04\x14\x04\x30\0", 5), "\xD0\x94\xD0\xB0\xEF\xBF\xBD"},
        {u"shift_jis", "\x82\xA0", "\xE3\x81\x82"},     // hiragana a
        {u"big5", "\xA4\x40", "\xE4\xB8\x80"},          // one
        {u"koi8-r", "\xC1", "\xD0\xB0"},
        {u"ebcdic-cp-us", "\xC1", "A"},
        {u"ascii", "a\xFF", "a\xEF\xBF\xBD"},
        {u"UTF-32", std::string("A\0\0\0\x00\xF6\x01\x00\x00\xD8\x00\x00", 12), "A\xF0\x9F\x98\x80?"},
    };
    for (const Case& c : cases) EXPECT_EQ(Utf8(ConvertToUtf16(c.encoding, c.bytes)), c.utf8) << Utf8(c.encoding);
}

TEST(XmlConversion, EncodeCountsUnmappedCharacters) {
    std::size_t unmapped = 0;
    EXPECT_EQ(ConvertFromUtf16(u"iso-8859-1", u"a\u00e9\u20ac", &unmapped), "a\xE9?");
    EXPECT_EQ(unmapped, 1u);
    EXPECT_EQ(ConvertFromUtf16(u"utf-8", u"a\xD800", &unmapped), "a\xEF\xBF\xBD");
    EXPECT_EQ(unmapped, 0u) << "not kept for UTF-8";
    EXPECT_EQ(ConvertFromUtf16(u"UTF-32", u"\xD83D\xDE00\xDC00", &unmapped),
              std::string("\x00\xF6\x01\x00?\0\0\0", 8));
    EXPECT_EQ(unmapped, 1u);
    // 8-bit to 8-bit goes through UTF-16; UTF-8 to UTF-32 by hand with '?' for invalid input.
    EXPECT_EQ(ConvertBetween(u"windows-1251", u"koi8-r", "\xC4\xE0"), "\xE4\xC1");
    EXPECT_EQ(ConvertBetween(u"utf-8", u"utf-32", "a\xFF"), std::string("a\0\0\0?\0\0\0", 8));
}

// Every byte the code page rejects becomes one U+FFFD (an incomplete sequence at the end as well), and
// every character the target lacks one '?', however many there are.
TEST(XmlConversion, RejectedInputIsReplacedOneByOne) {
    const std::string manyBytes(20000, '\xE9');
    const std::u16string manyEuros(20000, u'\u20AC');
    struct DecodeCase {
        const char16_t* encoding;
        std::string bytes;
        std::u16string text;
        std::size_t unmapped;
    };
    const DecodeCase decodes[] = {
        {u"us-ascii", "a\xE9" "b\xE9\xE9" "c", u"a\uFFFDb\uFFFD\uFFFDc", 3},
        {u"shift_jis", "\x82\xA0\xFF" "a\x82", u"\u3042\uFFFDa\uFFFD", 2},
        {u"us-ascii", manyBytes, std::u16string(manyBytes.size(), u'\uFFFD'), manyBytes.size()},
        {u"shift_jis", std::string(20000, '\xFF'), std::u16string(20000, u'\uFFFD'), 20000},
        // Two-byte characters at odd offsets after a rejected byte: none is cut in two.
        {u"shift_jis", "\xFF" "a" + Repeat("\x82\xA0", 100), u"\uFFFDa" + std::u16string(100, u'\u3042'), 1},
    };
    for (const DecodeCase& c : decodes) {
        SCOPED_TRACE(Utf8(c.encoding) + " " + std::to_string(c.bytes.size()));
        std::size_t unmapped = 0;
        EXPECT_TRUE(ConvertToUtf16(c.encoding, c.bytes, &unmapped) == c.text);
        EXPECT_EQ(unmapped, c.unmapped);
    }
    std::size_t unmapped = 0;
    EXPECT_EQ(ConvertFromUtf16(u"iso-8859-1", u"\u20ACa\u20AC\u20AC", &unmapped), "?a??");
    EXPECT_EQ(unmapped, 3u);
    EXPECT_EQ(ConvertFromUtf16(u"iso-8859-1", manyEuros, &unmapped), std::string(manyEuros.size(), '?'));
    EXPECT_EQ(unmapped, manyEuros.size());
    // A surrogate pair 64 bytes after a rejected character is skipped whole.
    const std::u16string pairAfter = u"\u20ACa" + std::u16string(30, u'\u00E9') + u"\U0001F600b";
    EXPECT_EQ(ConvertFromUtf16(u"iso-8859-1", pairAfter, &unmapped), "?a" + std::string(30, '\xE9') + "?b");
    EXPECT_EQ(unmapped, 2u);
}

// UTF-8 is decoded in blocks of a kilobyte: a sequence, valid or broken, reads the same at every
// offset of a long text, including those that straddle the ends of the blocks.
TEST(XmlConversion, Utf8SequencesDecodeTheSameAtEveryOffset) {
    struct Case {
        std::string bytes;
        std::u16string text;
        std::size_t unmapped;
    };
    const Case cases[] = {
        {"\xC3\xA9", u"\u00E9", 0},
        {"\xE6\x97\xA5", u"\u65E5", 0},
        {"\xF0\x9F\x98\x80", u"\U0001F600", 0},
        {"\xE6\x97", u"\uFFFD", 1},               // truncated by the ASCII after it
        {"\xF0\x9F\x98", u"\uFFFD", 1},
        {"\x80\x80\x80\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD", 5},  // stray continuation bytes
        {"\xC3\xA9\xF0\x9F\x98\x80\xE6\x97\xA5", u"\u00E9\U0001F600\u65E5", 0},
        // Runs of two-byte characters, which are read two at a time, next to forms that only look alike.
        {"\xD0\x94\xD0\xB0\xD0\xB0", u"\u0414\u0430\u0430", 0},
        {"\xD0\x94\xC1\xBF", u"\u0414\uFFFD\uFFFD", 2},  // overlong lead after a valid character
        {"\xC0\x80\xD0\x94", u"\uFFFD\uFFFD\u0414", 2},
        {"\xD0\x94\xD0\x41", u"\u0414\uFFFDA", 1},      // continuation byte missing
        {"\xD0\x94\xE6\x97\xA5\xD0\xB0", u"\u0414\u65E5\u0430", 0},
        // Runs of four and more, which are read four at a time, with a bad form in each place.
        {"\xD0\x94\xD0\xB0\xCE\xB1\xDF\xBF\xC2\x80", u"\u0414\u0430\u03B1\u07FF\u0080", 0},
        {"\xC1\xBF\xD0\x94\xD0\xB0\xD0\xB0", u"\uFFFD\uFFFD\u0414\u0430\u0430", 2},
        {"\xD0\x94\xC0\x80\xD0\xB0\xD0\xB0", u"\u0414\uFFFD\uFFFD\u0430\u0430", 2},
        {"\xD0\x94\xD0\xB0\xC1\x80\xD0\xB0", u"\u0414\u0430\uFFFD\uFFFD\u0430", 2},
        {"\xD0\x94\xD0\xB0\xD0\xB0\xC0\xBF", u"\u0414\u0430\u0430\uFFFD\uFFFD", 2},
        {"\xD0\x94\xD0\xB0\xD0\xB0\xD0\x41", u"\u0414\u0430\u0430\uFFFDA", 1},
        {"\xD0\x94\xD0\xB0\xD0\xE6\x97\xA5", u"\u0414\u0430\uFFFD\u65E5", 1},
    };
    for (const Case& c : cases) {
        for (const std::size_t base : {std::size_t(4096), std::size_t(8192), std::size_t(16384)}) {
            for (std::size_t offset = base - 9; offset <= base + 1; ++offset) {
                SCOPED_TRACE(std::to_string(offset) + " " + Utf8(c.text));
                std::size_t unmapped = 0;
                const std::string bytes = std::string(offset, 'a') + c.bytes + "z";
                const std::u16string text = ConvertToUtf16(u"utf-8", bytes, &unmapped);
                EXPECT_TRUE(text == std::u16string(offset, u'a') + c.text + u"z");
                EXPECT_EQ(unmapped, c.unmapped);
            }
        }
    }
}

// Characters tried in every code page; those a code page can encode make up its round-trip text.
// U+0378 is unassigned: no code page but the Unicode ones has it.
const std::u16string_view kCandidates[] = {
    u"a", u"Z", u"0", u"?", u" ", u"\u00E9", u"\u00C4", u"\u00DF", u"\u0414", u"\u044F", u"\u03B1",
    u"\u03A9", u"\u05D0", u"\u0639", u"\u0E01", u"\u65E5", u"\u672C", u"\uD55C", u"\u4E2D", u"\u20AC",
    u"\uFF71", u"\U0001F600", u"\u0378",
};

bool Encodes(std::u16string_view encoding, std::u16string_view text) {
    std::size_t unmapped = 0;
    ConvertFromUtf16(encoding, text, &unmapped);
    return unmapped == 0;
}

// A character the code page has: it is encoded without complaint and reads back as itself. (glibc's
// double-byte EBCDIC converters write their substitute byte for a few Latin letters without reporting
// them; such characters are left out.)
bool Has(std::u16string_view encoding, std::u16string_view c) {
    return Encodes(encoding, c) && ConvertToUtf16(encoding, ConvertFromUtf16(encoding, c)) == c;
}

// Every name of the charset table whose code page has a converter: the characters it has come back
// from a round trip; text encoded in two pieces reads back as one (a stateful encoding returns to its
// initial state at the end); and a character it lacks becomes one '?' without disturbing the text
// around it. The code pages without a converter are exactly the documented ones, and read as ANSI.
TEST(XmlConversion, EveryCodePageOfTheTableRoundTrips) {
    std::set<int> withoutConverter;
    for (std::size_t i = 0; i < CharsetNameCount(); ++i) {
        const std::u16string name = Utf8ToUtf16(CharsetNameAt(i));
        const int codePage = CodePageOfCharset(name);
        SCOPED_TRACE(std::string(CharsetNameAt(i)) + " (" + std::to_string(codePage) + ")");
        if (!HasConverter(codePage)) {
            withoutConverter.insert(codePage);
            EXPECT_EQ(Utf8(ConvertToUtf16(name, "a\x80")), "a\xE2\x82\xAC");
            continue;
        }
        std::u16string text;
        std::u16string ascii;  // the ASCII characters the code page has
        std::u16string lacking;
        for (std::u16string_view c : kCandidates) {
            if (Has(name, c)) {
                text += c;
                if (c[0] < 0x80) ascii += c;
            } else if (lacking.empty() && !Encodes(name, c)) {
                lacking = c;
            }
        }
        ASSERT_FALSE(ascii.empty());
        std::size_t unmapped = 1;
        EXPECT_EQ(Utf8(ConvertToUtf16(name, ConvertFromUtf16(name, text), &unmapped)), Utf8(text));
        EXPECT_EQ(unmapped, 0u);
        for (std::u16string_view c : kCandidates) {
            if (!Has(name, c)) continue;
            const std::string pieces = ConvertFromUtf16(name, c) + ConvertFromUtf16(name, ascii);
            EXPECT_EQ(Utf8(ConvertToUtf16(name, pieces)), Utf8(std::u16string(c) + ascii)) << Utf8(c);
            if (lacking.empty()) continue;
            const std::u16string withGap = std::u16string(c) + lacking + ascii;
            const std::string bytes = ConvertFromUtf16(name, withGap, &unmapped);
            EXPECT_EQ(unmapped, 1u) << Utf8(withGap);
            EXPECT_EQ(Utf8(ConvertToUtf16(name, bytes)), Utf8(std::u16string(c) + u"?" + ascii)) << Utf8(withGap);
        }
    }
    // The code pages of the table that the platform's converter does not have (see XmlTextConversion.h).
    const std::set<int> documented = {720,   10001, 10002, 10003, 10004, 10005, 10006, 10008, 10081,
                                      20105, 20833, 20838, 29001, 52936, 57002, 57003, 57004, 57005,
                                      57006, 57007, 57008, 57009, 57010, 57011};
    EXPECT_EQ(withoutConverter, documented);
}

TEST(XmlConversion, Utf16ToUtf8ConvertsEveryLengthAndReplacesUnpairedSurrogates) {
    struct Case {
        std::u16string utf16;
        std::string utf8;
    };
    const Case cases[] = {
        {u"", ""},
        {u"App Init", "App Init"},
        {std::u16string(u"a\0b", 3), std::string("a\0b", 3)},
        {u"\u00E9", "\xC3\xA9"},                       // two bytes
        {u"\u07FF\u0800", "\xDF\xBF\xE0\xA0\x80"},     // the two-/three-byte border
        {u"\u20AC\uFFFF", "\xE2\x82\xAC\xEF\xBF\xBF"},  // three bytes up to the end of the plane
        {u"\U0001D11E", "\xF0\x9D\x84\x9E"},           // surrogate pair
        {u"\U00010000\U0010FFFF", "\xF0\x90\x80\x80\xF4\x8F\xBF\xBF"},
        {std::u16string(1, char16_t(0xD800)), "\xEF\xBF\xBD"},                 // high surrogate at the end
        {std::u16string{char16_t(0xDC00), u'x'}, "\xEF\xBF\xBDx"},             // low surrogate alone
        {std::u16string{char16_t(0xD83D), u'A'}, "\xEF\xBF\xBD" "A"},          // high surrogate, no partner
        {std::u16string{char16_t(0xDC00), char16_t(0xD800)}, "\xEF\xBF\xBD\xEF\xBF\xBD"},  // reversed pair
    };
    for (const Case& c : cases) EXPECT_EQ(Utf16ToUtf8(c.utf16), c.utf8) << testing::PrintToString(c.utf8);
}

}  // namespace
}  // namespace xml::test
