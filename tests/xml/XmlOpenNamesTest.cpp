// The index of open element names that lets a stray end tag be rejected without walking the stack.
#include "XmlOpenNames.h"

#include <gtest/gtest.h>

#include <string>

namespace xml::test {
namespace {

// Two five-character names whose 64-bit FNV-1a hashes over their UTF-16 units are equal. A document
// can be written with one open and many end tags of the other: if the index answered by hash alone,
// every such end tag would walk the whole stack again.
const std::u16string kOpen = u"\u25CA\u1B42\u2A6D\u0100\uB300";
const std::u16string kCollidingEndTag = u"\u2325\u0100\u3DE8\u0AE6\uB33A";

TEST(XmlOpenNames, AnswersOnlyToNamesAnOpenElementMatches) {
    struct Case {
        std::u16string open;
        std::u16string endTag;
        bool ignoreCase;
        bool matches;
    };
    const Case cases[] = {
        {u"a", u"a", false, true},
        {u"a", u"a=1", false, true},
        {u"a", u"a[x]", false, true},
        {u"a", u"ab", false, false},
        {u"ab", u"a", false, false},
        {u"a", u"A", false, false},
        {u"a", u"A", true, true},
        {u"Ab", u"aB]", true, true},
        {u"a", u"", false, true},  // an empty end tag name answers to any element
        {kOpen, kOpen, false, true},
        {kOpen, kCollidingEndTag, false, false},
        {kOpen, kCollidingEndTag + u"=1", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.endTag.begin(), c.endTag.end()));
        XmlOpenNames names(c.ignoreCase);
        EXPECT_FALSE(names.Matches(c.endTag));
        names.Add(c.open);
        EXPECT_EQ(names.Matches(c.endTag), c.matches);
        names.Remove(c.open);
        EXPECT_FALSE(names.Matches(c.endTag));
    }
}

}  // namespace
}  // namespace xml::test
