// The scanner's node types, extents and names.
#include "XmlTestSupport.h"

#include "XmlScanner.h"

#include <string>
#include <vector>

namespace xml::test {
namespace {

// Each node as "type:start:length[:name]".
std::vector<std::string> Nodes(std::u16string_view text) {
    std::vector<std::string> out;
    XmlScanner scanner(text, 0);
    XmlNodeToken node;
    while (scanner.Next(node)) {
        std::string s = std::to_string(node.type) + ":" + std::to_string(node.start) + ":" + std::to_string(node.length);
        if (!node.name.empty()) s += ":" + Utf8(node.name);
        if (node.flags & kNodeSelfClosing) s += ":/";
        out.push_back(s);
    }
    return out;
}

using V = std::vector<std::string>;

TEST(XmlScanner, NodeKinds) {
    EXPECT_EQ(Nodes(u"<a x='1>'>t \n</a >"), (V{"1:0:10:a", "2:10:3", "0:13:5:a"}));
    EXPECT_EQ(Nodes(u" \t\r\n<b/>"), (V{"4:0:4", "1:4:4:b:/"}));
    EXPECT_EQ(Nodes(u"<?xml v='1'?><!--a-->-<![CDATA[x]]>"),
              (V{"16:0:13:xml", "32:13:8", "2:21:1", "8:22:13"}));
    EXPECT_EQ(Nodes(u"<!DOCTYPE d [<!ENTITY e 'v'>]><!ELEMENT x>"), (V{"64:0:30", "64:30:12"}));
    EXPECT_EQ(Nodes(u"<!DOCTYPE d [<!ENTITY e '>'>]><a>"), (V{"64:0:30", "1:30:3:a"}));
    // A '>' without the rest of its terminator does not end the node.
    EXPECT_EQ(Nodes(u"<!-- a > b -- > -->"), (V{"32:0:19"}));
    EXPECT_EQ(Nodes(u"<? a > ?>"), (V{"16:0:9"}));
}

TEST(XmlScanner, StartTagNamesAndSelfClosing) {
    struct Case {
        const char16_t* text;
        const char* node;
    };
    const Case cases[] = {
        {u"<a/>", "1:0:4:a:/"},
        {u"<a />", "1:0:5:a:/"},
        {u"<a b='c'/>", "1:0:10:a:/"},
        {u"<a b=\"c\"/>", "1:0:10:a:/"},
        {u"<a b=c/>", "1:0:8:a"},              // the '/' belongs to the unquoted value
        {u"<a b='/>'>", "1:0:10:a"},           // quoted '>' is inside the value
        {u"<a 'x>", "1:0:6:a"},                // a quote not after '=' opens nothing
        {u"<_x:y>", "1:0:6:_x:y"},
        {u"<\u00e9t\u00e9>", "1:0:5:\xC3\xA9t\xC3\xA9"},
        {u"<Ab;c>", "1:0:6:Ab"},
    };
    for (const Case& c : cases) {
        const V nodes = Nodes(c.text);
        ASSERT_FALSE(nodes.empty());
        EXPECT_EQ(nodes.front(), c.node) << Utf8(c.text);
    }
}

TEST(XmlScanner, ErrorNodeExtentAndMessage) {
    XmlScanner scanner(u"ab< x > <1<c>", 0);
    XmlNodeToken node;
    ASSERT_TRUE(scanner.Next(node));
    EXPECT_EQ(node.type, kNodeText);
    ASSERT_TRUE(scanner.Next(node));
    EXPECT_EQ(node.type, kNodeError);
    EXPECT_EQ(Utf8(node.message), "Incorrect tag name character at offset 2");
    EXPECT_EQ(node.length, 5u) << "runs to the next '>'";
    ASSERT_TRUE(scanner.Next(node));
    EXPECT_EQ(node.type, kNodeWhitespace);
    ASSERT_TRUE(scanner.Next(node));
    EXPECT_EQ(node.type, kNodeError);
    EXPECT_EQ(node.length, 2u) << "stops before the next '<'";
    ASSERT_TRUE(scanner.Next(node));
    EXPECT_EQ(node.type, kNodeElement);
    EXPECT_FALSE(scanner.Next(node));
    EXPECT_EQ(node.type, kNodeEnd);
}

}  // namespace
}  // namespace xml::test
