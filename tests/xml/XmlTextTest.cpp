// The character helpers the scanner and the table builder compare names with.
#include "XmlText.h"

#include <gtest/gtest.h>

#include <string>

namespace xml::test {
namespace {

// Names are compared a word at a time, with words that overlap at the end: every length up to a few
// words, a difference in either byte of any one unit, and a name that is one unit shorter.
TEST(XmlText, SameUnitsSeesADifferenceInAnyUnitOfAnyLength) {
    std::u16string units;
    for (char16_t k = 0; k < 40; ++k) units.push_back(static_cast<char16_t>(u'a' + k % 26 + (k % 3 == 0 ? 0x400 : 0)));
    for (std::size_t length = 0; length <= 24; ++length) {
        SCOPED_TRACE("length " + std::to_string(length));
        const std::u16string a = units.substr(0, length);
        std::u16string b = a;
        EXPECT_TRUE(SameUnits(a, b));
        if (length > 0) {
            EXPECT_FALSE(SameUnits(a, std::u16string_view(b).substr(0, length - 1)));
        }
        if (length > 1) {
            EXPECT_FALSE(SameUnits(std::u16string_view(a).substr(1), std::u16string_view(b).substr(0, length - 1)));
        }
        for (std::size_t at = 0; at < length; ++at) {
            for (char16_t flip : {char16_t{0x0001}, char16_t{0x0100}}) {
                b = a;
                b[at] = static_cast<char16_t>(b[at] ^ flip);
                EXPECT_FALSE(SameUnits(a, b)) << "unit " << at << " flipped by " << static_cast<int>(flip);
            }
        }
    }
}

}  // namespace
}  // namespace xml::test
