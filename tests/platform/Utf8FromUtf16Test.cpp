#include "Utf8FromUtf16.h"

#include <gtest/gtest.h>

namespace {

struct Case {
    std::u16string utf16;
    std::string utf8;
};

TEST(Utf8FromUtf16, ConvertsEveryLengthAndReplacesUnpairedSurrogates) {
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
    for (const Case& c : cases) {
        EXPECT_EQ(platform::Utf8FromUtf16(c.utf16), c.utf8) << testing::PrintToString(c.utf8);
    }
}

}  // namespace
