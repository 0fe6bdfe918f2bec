// Searches, lookups, element data and attributes.
#include "XmlTestSupport.h"

#include "XmlEntities.h"

namespace xml::test {
namespace {

struct LookupCase {
    const char* document;
    const char16_t* section;
    const char16_t* key;
    const char* value;
};

TEST(XmlLookup, ValueOfKeyInSection) {
    const LookupCase cases[] = {
        {"<SKIN><MAIN><NORMAL>a.png</NORMAL></MAIN></SKIN>", u"MAIN", u"NORMAL", "a.png"},
        {"<MAIN><MAIN><NORMAL>x</NORMAL></MAIN></MAIN>", u"MAIN", u"NORMAL", "x"},  // the root's name is never compared
        {"<SKIN><MAIN><NORMAL>a.png</NORMAL></MAIN></SKIN>", u"main", u"NORMAL", ""},  // names are case-sensitive
        {"<SKIN><MAIN><NORMAL>a.png</NORMAL></MAIN></SKIN>", u"MAIN", u"normal", ""},
        {"<R><S><K><X/></K></S></R>", u"S", u"K", ""},  // a key with child elements
        {"<R><S><K/></S></R>", u"S", u"K", ""},
        {"<R><S><K></K></S></R>", u"S", u"K", ""},
        {"<R><S><K> 1,2 </K></S></R>", u"S", u"K", " 1,2 "},  // whitespace is kept
        {"<R><S><K>a&amp;lt;b</K></S></R>", u"S", u"K", "a&lt;b"},  // decoded once
        {"<R><S><K>a&bogus;b</K></S></R>", u"S", u"K", "a&bogus;b"},
        {"<R><S><K>&#65;&#x41;&#X41;</K></S></R>", u"S", u"K", "AAA"},
        {"<R><S><K>&#x1F600;</K></S></R>", u"S", u"K", "\xF0\x9F\x98\x80"},
        {"<R><S><K><![CDATA[x<y]]></K></S></R>", u"S", u"K", "x<y"},
        {"<R><S><K>a<!--c-->b</K></S></R>", u"S", u"K", "ab"},
        {"<R><S><K> a &amp; <?pi?> <![CDATA[&amp;]]> </K></S></R>", u"S", u"K", " a & &amp;"},
        // The first section lacks the key: a later section of that name is not consulted...
        {"<R><S><A>1</A></S><S><K>2</K></S></R>", u"S", u"K", ""},
        // ...but a section of the same name nested inside it is.
        {"<R><S><A>1</A><S><K>3</K></S></S><S><K>2</K></S></R>", u"S", u"K", "3"},
        {"<R><S><K>1</K><K>2</K></S></R>", u"S", u"K", "1"},
        // Names match when the searched name goes on with a space, '=', '/', '[' or ']'.
        {"<R><S><K>v</K></S></R>", u"S", u"K extra", "v"},
        {"<R><S><K>v</K></S></R>", u"S", u"K[1]", "v"},
        {"<R><S><KEY>v</KEY></S></R>", u"S", u"K", ""},
        {"<R><S><K>v</K></S></R>", u"S", u"KEY", ""},
        {"<R><S><K>v</K></R>", u"S", u"K", ""},  // S not ended: K became R's child
        {"<A/><B><S><K>v</K></S></B>", u"S", u"K", ""},  // only the first top-level element is searched
        {"", u"S", u"K", ""},
        // Markup inside an entity value of the document type is not markup of the document.
        {"<!DOCTYPE strings [ <!ENTITY brand \"<b>Name</b> <i>Co</i>\"> ]>"
         "<strings><section><key>value</key></section></strings>",
         u"section", u"key", "value"},
    };
    for (const LookupCase& c : cases) {
        CXmlDocument d = Parsed(c.document);
        EXPECT_EQ(Utf8(LookupValue(d, c.section, c.key)), c.value) << c.document;
    }
}

TEST(XmlLookup, Attributes) {
    CXmlDocument d = Parsed(
        "<R><S><K SIZE=21 COLOR=\"16777215\" FONT='' flag  NAME = 'a&amp;b' PATH=c/d>v</K>"
        "<L a=1/></S></R>");
    EXPECT_EQ(Utf8(LookupAttribute(d, u"S", u"K", u"SIZE")), "21");
    EXPECT_EQ(Utf8(LookupAttribute(d, u"S", u"K", u"COLOR")), "16777215");
    EXPECT_EQ(Utf8(LookupAttribute(d, u"S", u"K", u"FONT")), "");
    EXPECT_EQ(Utf8(LookupAttribute(d, u"S", u"K", u"flag")), "");
    EXPECT_EQ(Utf8(LookupAttribute(d, u"S", u"K", u"NAME")), "a&b");
    EXPECT_EQ(Utf8(LookupAttribute(d, u"S", u"K", u"PATH")), "c/d");
    EXPECT_EQ(Utf8(LookupAttribute(d, u"S", u"K", u"ABSENT")), "");
    EXPECT_EQ(Utf8(LookupAttribute(d, u"S", u"K", u"size")), "");
    EXPECT_EQ(Utf8(LookupAttribute(d, u"S", u"L", u"a")), "1/");  // an unquoted value runs to '>'
    EXPECT_EQ(Utf8(LookupAttribute(d, u"S", u"X", u"a")), "");
    EXPECT_EQ(Utf8(LookupValue(d, u"S", u"L")), "") << "<L a=1/> is not self-closing, but it is never ended";
}

TEST(XmlSearch, PositionMovesAsDescribed) {
    CXmlDocument d = Parsed("<R><A><X/></A><B><Y>y</Y><Z/></B><A/></R>");
    EXPECT_FALSE(d.Descend()) << "nothing selected yet";
    ASSERT_TRUE(d.FindChild(u"B"));  // selects the root first
    EXPECT_EQ(Utf8(d.ElementName(d.MainIndex())), "R");
    EXPECT_EQ(Utf8(d.ElementName(d.ChildIndex())), "B");
    EXPECT_EQ(d.ParentIndex(), 0u);

    ASSERT_TRUE(d.FindChild(u"A"));  // the next A after B
    const uint32_t secondA = d.ChildIndex();
    EXPECT_FALSE(d.FindChild(u"A"));
    EXPECT_EQ(d.ChildIndex(), secondA) << "a failed search changes nothing";

    d.Rewind();
    EXPECT_EQ(d.MainIndex(), 0u);
    ASSERT_TRUE(d.FindChild(u"B"));
    ASSERT_TRUE(d.Descend());
    EXPECT_EQ(Utf8(d.ElementName(d.MainIndex())), "B");
    EXPECT_EQ(Utf8(d.ElementName(d.ParentIndex())), "R");
    EXPECT_EQ(d.ChildIndex(), 0u);
    ASSERT_TRUE(d.FindChild());
    EXPECT_EQ(Utf8(d.ChildText()), "y");
    ASSERT_TRUE(d.FindChild());
    EXPECT_EQ(Utf8(d.ElementName(d.ChildIndex())), "Z");
    EXPECT_FALSE(d.FindChild());

    // FindNext walks the siblings of main.
    ASSERT_TRUE(d.FindNext(u"A"));
    EXPECT_EQ(Utf8(d.ElementName(d.MainIndex())), "A");
    EXPECT_EQ(d.ChildIndex(), 0u);
    EXPECT_FALSE(d.FindNext(u"B"));
    EXPECT_FALSE(d.FindNext());
}

TEST(XmlSearch, EmptyDocumentFailsEverything) {
    CXmlDocument d;
    EXPECT_EQ(Utf8(d.LoadReport()), "Empty document");
    EXPECT_EQ(d.Elements().FreeIndex(), 1u);
    EXPECT_FALSE(d.FindNext());
    EXPECT_FALSE(d.FindChild());
    EXPECT_FALSE(d.Descend());
    EXPECT_EQ(d.ChildText(), u"");
    EXPECT_EQ(d.ChildAttribute(u"a"), u"");
}

TEST(XmlEntities, Decoding) {
    struct Case {
        const char16_t* in;
        const char* out;
    };
    const Case cases[] = {
        {u"&lt;&gt;&amp;&quot;&apos;", "<>&\"'"},
        {u"&nbsp;&eacute;&Eacute;&euro;&thetasym;&hearts;", "\xC2\xA0\xC3\xA9\xC3\x89\xE2\x82\xAC\xCF\x91\xE2\x99\xA5"},
        {u"&EURO;", "&EURO;"},           // exact case only
        {u"&#0;&#;&#x;&#xG;", "&#0;&#;&#x;&#xG;"},
        {u"&#1114111;", "\xF4\x8F\xBF\xBF"},  // U+10FFFF
        {u"&#1114112;", "&#1114112;"},       // beyond Unicode: kept
        {u"&#x110000;", "&#x110000;"},
        {u"&#x0010FFFF;", "&#x0010FFFF;"},   // more than 9 characters
        {u"&amp", "&amp"},
        {u"a & b", "a & b"},
        {u"&&amp;", "&&"},
        {u"&\u00e9;", "&\xC3\xA9;"},          // a non-ASCII character ends the candidate
        {u"&#65", "&#65"},
    };
    for (const Case& c : cases) EXPECT_EQ(Utf8(DecodeEntities(c.in)), c.out) << Utf8(c.in);
    EXPECT_EQ(EntityCodePoint(u"apos"), 39u);
    EXPECT_EQ(EntityCodePoint(u"zwnj"), 8204u);
    EXPECT_EQ(EntityCodePoint(u"Yuml"), 376u);
}

}  // namespace
}  // namespace xml::test
