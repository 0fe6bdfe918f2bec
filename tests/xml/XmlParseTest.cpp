// Building the element table: structure, not-ended and mismatched elements, and the messages.
#include "XmlTestSupport.h"

#include <string>
#include <vector>

namespace xml::test {
namespace {

// The tree as "name(child,child)" so that a whole structure is compared at once.
std::string Tree(const CXmlDocument& d, uint32_t index) {
    std::string out = Utf8(d.ElementName(index));
    const XmlElementTable& t = d.Elements();
    if (t[index].firstChild != 0) {
        out += "(";
        for (uint32_t c = t[index].firstChild; c != 0; c = t[c].nextSibling) {
            EXPECT_EQ(t[c].parent, index) << "parent link of " << Utf8(d.ElementName(c));
            out += Tree(d, c);
            if (t[c].nextSibling != 0) out += ",";
        }
        out += ")";
    }
    return out;
}

std::string TopLevel(const CXmlDocument& d) {
    std::string out;
    const XmlElementTable& t = d.Elements();
    for (uint32_t c = t[0].firstChild; c != 0; c = t[c].nextSibling) {
        out += Tree(d, c);
        if (t[c].nextSibling != 0) out += " ";
    }
    return out;
}

struct ParseCase {
    const char* text;
    const char* tree;
    const char* report;
    bool illFormed;
};

void ExpectParse(const ParseCase& c) {
    SCOPED_TRACE(c.text);
    const CXmlDocument d = Parsed(c.text);
    EXPECT_EQ(TopLevel(d), c.tree);
    EXPECT_EQ(Utf8(d.LoadReport()), c.report);
    EXPECT_EQ(d.Elements()[0].Has(kDocumentIllFormed), c.illFormed);
}

TEST(XmlParse, StructureAndReportForEachKindOfDocument) {
    const ParseCase cases[] = {
        {"<R><S><K>v</K></S></R>", "R(S(K))", "", false},
        {"<?xml version=\"1.0\"?><!DOCTYPE R [<!ELEMENT R ANY><!-- > --><!ATTLIST R a CDATA #IMPLIED>]>"
         "<R a='>'><!-- <X> --><![CDATA[<Y>]]><S/><T x=\"/\"/></R>",
         "R(S,T)", "", false},
        {"", "", "Empty document", false},
        {"just text", "", "No root element", false},
        {"<A/><B/>", "A B", "Root element has sibling", false},
        {"<R><S><K>v</K></R>", "R(S,K)", "End tag 'R' at offset 15 does not match start tag 'S' at offset 3",
         true},
        {"<R><S><T>", "R S T", "Root element has sibling", true},  // the walk's message is replaced
        {"<R><S></R>", "R(S)", "End tag 'R' at offset 7 does not match start tag 'S' at offset 3", true},
        {"<R></X></R>", "R", "No start tag for end tag 'X' at offset 3", true},
        {"<R><S>", "R S", "Root element has sibling", true},
        {"<R>x", "R", "Element 'R' at offset 0 not ended", true},
        {"<R><1/></R>", "R", "Incorrect tag name character at offset 3", true},
        {"<R><!x></R>", "R", "Incorrect ! tag at offset 3", true},
        {"<R><!-x></R>", "R", "Incorrect comment tag at offset 3", true},
        {"<R><![x></R>", "R", "Incorrect tag at offset 3", true},
        {"<R><!-- x", "R", "Comment at offset 3 unterminated", true},
        {"<R><![CDATA[ x", "R", "CDATA Section at offset 3 unterminated", true},
        {"<R><? x", "R", "Processing instruction at offset 3 unterminated", true},
        {"<R><!DOCTYPE x", "R", "Doctype at offset 3 unterminated", true},
        {"<R><!DOCTYPE x <!ELEMENT y", "R", "Doctype at offset 3 unterminated", true},
        {"<R><S a='>", "R", "Element tag at offset 3 unterminated", true},
        {"<R></R", "R", "Element end tag at offset 3 unterminated", true},
        {"<R><", "R", "tag at offset 3 unterminated", true},
        {"<R><!ENTITY x", "R", "tag at offset 3 unterminated", true},
        // A quoted literal in a declaration of the internal subset does not end it at a '>' or '<' inside.
        {"<!DOCTYPE strings [ <!ENTITY brand \"<b>Name</b> <i>Co</i>\"> ]>"
         "<strings><section><key>value</key></section></strings>",
         "strings(section(key))", "", false},
        {"<!DOCTYPE R [<!ATTLIST R a CDATA '> </x> <Q/>'><!ENTITY q \"it's\"><!NOTATION n SYSTEM 'a>b <N/>'>]>"
         "<R><S/></R>",
         "R(S)", "", false},
        {"<R><!DOCTYPE x [<!ENTITY e 'a>", "R", "Doctype at offset 3 unterminated", true},
        // The end tag matches the innermost open element of its name.
        {"<A><B><A></A></B></A>", "A(B(A))", "", false},
        // Only the first problem is reported.
        {"<R></X></Y></R>", "R", "No start tag for end tag 'X' at offset 3", true},
    };
    for (const ParseCase& c : cases) ExpectParse(c);
}

// End tags are matched by the name rule (the open element's name followed by nothing, a '=', '[' or ']'
// in the end tag's name); one that matches no open element is ignored.
TEST(XmlParse, EndTagsMatchingByNamePrefixOrNoOpenElement) {
    const ParseCase cases[] = {
        {"<R><a></b></a></R>", "R(a)", "No start tag for end tag 'b' at offset 6", true},
        {"<R><a></A></a></R>", "R(a)", "No start tag for end tag 'A' at offset 6", true},
        {"<R><ab></a></ab></R>", "R(ab)", "No start tag for end tag 'a' at offset 7", true},
        {"<R><a></ab></a></R>", "R(a)", "No start tag for end tag 'ab' at offset 6", true},
        {"<R><a><b></c></a></R>", "R(a(b))", "No start tag for end tag 'c' at offset 9", true},
        {"<R></R></R>", "R", "No start tag for end tag 'R' at offset 7", true},
        {"<R><a></a=1></R>", "R(a)", "", false},
        {"<R><a></a]]></R>", "R(a)", "", false},
        {"<R><a></></R>", "R(a)", "", false},  // an empty end tag name closes the innermost element
        {"<R><a[><b></a[[]></R>", "R(a[(b))", "End tag 'a[[]' at offset 11 does not match start tag 'b' at offset 7",
         true},
        {"<R><a><b></R=x></R>", "R(a,b)", "End tag 'R=x' at offset 10 does not match start tag 'b' at offset 6",
         true},
        {"<R><a></b></a=></b></R>", "R(a)", "No start tag for end tag 'b' at offset 6", true},
    };
    for (const ParseCase& c : cases) ExpectParse(c);
}

TEST(XmlParse, ManyStrayEndTagsAreIgnoredAndTheOpenElementsClosedAsNotEnded) {
    // <r>, 3000 nested <a>, 3000 </b> that match nothing, then </r>.
    constexpr uint32_t kCount = 3000;
    std::string text = "<r>";
    for (uint32_t i = 0; i < kCount; ++i) text += "<a>";
    for (uint32_t i = 0; i < kCount; ++i) text += "</b>";
    text += "</r>";
    const CXmlDocument d = Parsed(text);
    const XmlElementTable& t = d.Elements();
    EXPECT_EQ(Utf8(d.LoadReport()), "No start tag for end tag 'b' at offset " + std::to_string(3 + 3 * kCount));
    EXPECT_TRUE(t[0].Has(kDocumentIllFormed));
    ASSERT_EQ(t.FreeIndex(), kCount + 2);
    EXPECT_EQ(t[1].length, text.size());
    EXPECT_EQ(t.EndTagLength(1), 4u);
    EXPECT_TRUE(t[1].Has(kElementBadMarkup)) << "handed out by every not-ended element";
    uint32_t children = 0;
    for (uint32_t c = t[1].firstChild; c != 0; c = t[c].nextSibling) {
        ASSERT_EQ(t[c].parent, 1u);
        ASSERT_TRUE(t[c].Has(kElementNotEnded));
        ASSERT_FALSE(t[c].Has(kElementBadMarkup));
        ASSERT_EQ(t[c].length, 3u);
        ASSERT_EQ(t[c].Level(), c - 1);
        ++children;
    }
    EXPECT_EQ(children, kCount);
}

TEST(XmlParse, RecordFieldsOfEndedSelfClosingAndNotEndedElements) {
    //                       0         1         2
    //                       0123456789012345678901234
    const CXmlDocument d = Parsed("<R><S a='1'/><T><U></T></R>");
    const XmlElementTable& t = d.Elements();
    ASSERT_EQ(t.FreeIndex(), 5u);
    // Record 0: the document's length, the root as first child.
    EXPECT_EQ(t[0].length, 27u);
    EXPECT_EQ(t[0].firstChild, 1u);

    const XmlElementRecord& r = t[1];
    EXPECT_EQ(r.start, 0u);
    EXPECT_EQ(r.length, 27u);
    EXPECT_EQ(t.StartTagLength(1), 3u);
    EXPECT_EQ(t.EndTagLength(1), 4u);
    EXPECT_EQ(r.Level(), 0u);
    EXPECT_TRUE(r.Has(kElementFirstChild));
    EXPECT_TRUE(r.Has(kElementBadMarkup) == false);

    const XmlElementRecord& s = t[2];  // self-closing
    EXPECT_EQ(s.start, 3u);
    EXPECT_EQ(s.length, 10u);
    EXPECT_EQ(t.StartTagLength(2), 10u);
    EXPECT_EQ(t.EndTagLength(2), 0u);
    EXPECT_EQ(s.Level(), 1u);
    EXPECT_EQ(s.nextSibling, 3u);
    EXPECT_EQ(s.previousSibling, 3u) << "a first child points at the last child";

    const XmlElementRecord& u = t[4];  // closed as not ended by </T>; it stays T's child
    EXPECT_TRUE(u.Has(kElementNotEnded));
    EXPECT_EQ(u.length, 3u);
    EXPECT_EQ(t.EndTagLength(4), 0u);
    EXPECT_EQ(u.parent, 3u);
    EXPECT_EQ(u.previousSibling, 4u);
    EXPECT_TRUE(u.Has(kElementFirstChild));
    EXPECT_EQ(t[3].firstChild, 4u);
    EXPECT_FALSE(t[3].Has(kElementNotEnded));
    EXPECT_EQ(t[3].length, 10u);  // <T><U></T>
}

TEST(XmlParse, BadMarkupFlagMovesOutOfNotEndedElements) {
    const CXmlDocument d = Parsed("<R><S><T><1></S></R>");
    const XmlElementTable& t = d.Elements();
    EXPECT_FALSE(t[3].Has(kElementBadMarkup)) << "T was closed as not ended and handed the flag on";
    EXPECT_TRUE(t[2].Has(kElementBadMarkup));
}

TEST(XmlParse, OverlongTagsKeepExactLengths) {
    // A start tag beyond the 22-bit field and an end tag beyond the 10-bit field.
    const std::string longValue(XmlElementTable::kMaxStartTagField + 10, 'v');
    const std::string text = "<R><K a='" + longValue + "' b='2'>text</K" + std::string(2000, ' ') + "></R>";
    CXmlDocument d = Parsed(text);
    EXPECT_EQ(Utf8(d.LoadReport()), "");
    d.Rewind();
    ASSERT_TRUE(d.FindChild(u"K"));
    EXPECT_EQ(Utf8(d.ChildText()), "text");
    EXPECT_EQ(Utf8(d.ChildAttribute(u"b")), "2");
    EXPECT_EQ(d.Elements().EndTagLength(2), 2004u);
}

TEST(XmlParse, DeepUnendedNestingIsLinear) {
    // 200,000 open elements closed at the end of the text: every element ends up at the top level.
    std::string text;
    for (int i = 0; i < 200000; ++i) text += "<a>";
    const CXmlDocument d = Parsed(text);
    const XmlElementTable& t = d.Elements();
    EXPECT_EQ(Utf8(d.LoadReport()), "Root element has sibling");
    uint32_t count = 0;
    for (uint32_t c = t[0].firstChild; c != 0; c = t[c].nextSibling) {
        ASSERT_EQ(t[c].parent, 0u);
        ++count;
    }
    EXPECT_EQ(count, 200000u);
}

TEST(XmlElementTable, GrowsInSegmentsThatNeverMove) {
    XmlElementTable table;
    table.Reserve(8);
    table.Reset();
    EXPECT_EQ(table.Capacity(), 8u);
    std::vector<const XmlElementRecord*> firstSegment;
    const uint32_t total = 3 * XmlElementTable::kSegmentRecords + 100;
    for (uint32_t i = 1; i < total; ++i) {
        const uint32_t index = table.Allocate();
        ASSERT_EQ(index, i);
        table[index].start = i;
        if (i == XmlElementTable::kSegmentRecords) firstSegment.push_back(&table[1]);
    }
    EXPECT_EQ(table.SegmentCount(), 4u);
    for (std::size_t s = 0; s + 1 < table.SegmentCount(); ++s) EXPECT_EQ(table.SegmentSize(s), 65536u);
    EXPECT_EQ(&table[1], firstSegment.front()) << "a full segment never moves";
    for (uint32_t i = 1; i < total; i += 997) ASSERT_EQ(table[i].start, i);
    // Growth by half, capped at the end of the next segment.
    EXPECT_LE(table.Capacity(), 4u * XmlElementTable::kSegmentRecords);
    EXPECT_GE(table.Capacity(), total);
}

TEST(XmlElementTable, SizedFromTheTextLength) {
    const CXmlDocument d = Parsed("<R>" + std::string(64 * 100, ' ') + "</R>");
    EXPECT_GE(d.Elements().Capacity(), (64u * 100 + 7) / 64 + 8);
}

}  // namespace
}  // namespace xml::test
