// Loading: byte-order marks, declared encodings, the UTF-8 check, zero units and the result text.
#include "XmlTestSupport.h"

#include "XmlFileReader.h"

#include <string>

namespace xml::test {
namespace {

struct LoadCase {
    const char* name;
    std::string bytes;
    std::string expectedResult;  // the whole load report
    std::string expectedValue;   // LookupValue(S, K)
    uint32_t expectedFlags;
};

std::string Bom8(std::string_view s) { return "\xEF\xBB\xBF" + std::string(s); }

const std::string kDoc = "<R><S><K>v\xC3\xA9</K></S></R>";  // "v", e-acute: 2 characters, 3 bytes
const std::string kAnsi = " <R><S><K>v\xE9</K></S></R>";
const std::string kLatin1 = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><R><S><K>v\xE9</K></S></R>";
const std::string kCyrillic = "<?xml version='1.0' encoding='windows-1251'?><R><S><K>\xC4\xE0</K></S></R>";
const std::string kDeclaredUtf16 = "<?xml version=\"1.0\" encoding=\"UTF-16\"?>" + kDoc;
const std::string kHtml =
    "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=koi8-r\"></head>"
    "<S><K>\xC4</K></S></html>";

std::vector<LoadCase> LoadCases() {
    const std::string doc = kDoc;
    const std::size_t n = doc.size();
    auto len = [](std::size_t v) { return std::to_string(v); };
    return {
        {"utf8 mark", Bom8(doc), "UTF-8 BOM + length " + len(n) + " to " + len(n - 1) + " wide chars ", "v\xC3\xA9",
         kFileUtf8Mark},
        {"utf16le mark", Utf16Bytes(doc, false, true),
         "UTF-16LE BOM + length " + len(n - 1) + " ", "v\xC3\xA9", kFileUtf16LeMark},
        {"utf16be mark", Utf16Bytes(doc, true, true),
         "UTF-16BE BOM + length " + len(n - 1) + " endian swap ", "v\xC3\xA9", kFileUtf16BeMark},
        // No mark, first byte '<', nothing declared: UTF-8 without the detection pass.
        {"leading angle", doc, "UTF-8 length " + len(n) + " to " + len(n - 1) + " wide chars ", "v\xC3\xA9", 0},
        // Not starting with '<', valid UTF-8: decided by the UTF-8 check.
        {"detected utf8", " " + doc,
         "UTF-8 length " + len(n + 1) + " (used UTF-8 detection) to " + len(n) + " wide chars ", "v\xC3\xA9", 0},
        // Not starting with '<', invalid UTF-8: the ANSI code page (windows-1252: 0xE9 is e-acute).
        {"ansi", kAnsi, "ANSI length " + len(kAnsi.size()) + " (used UTF-8 detection) to " + len(kAnsi.size()) +
                            " wide chars ", "v\xC3\xA9", 0},
        // A declared 8-bit encoding is converted through its code page.
        {"declared latin1", kLatin1, "ISO-8859-1 length " + len(kLatin1.size()) + " to " + len(kLatin1.size()) +
                                         " wide chars ", "v\xC3\xA9", 0},
        {"declared windows-1251", kCyrillic, "windows-1251 length " + len(kCyrillic.size()) + " to " +
                                                 len(kCyrillic.size()) + " wide chars ", "\xD0\x94\xD0\xB0", 0},
        // An html page names its charset in a meta element (KOI8-R 0xC4 is a small de).
        // (An html meta element is usually not ended: the parse reports it after the load result.)
        {"html meta charset", kHtml, "koi8-r length " + len(kHtml.size()) + " to " + len(kHtml.size()) +
                                         " wide chars  End tag 'head' at offset 81 does not match start tag "
                                         "'meta' at offset 12", "\xD0\xB4", 0},
        // Zero bytes are dropped before decoding and counted.
        {"nulls", std::string("<R><S><K>a\0b</K>\0</S></R>", 25),
         "UTF-8 length 25 (2 nulls removed) to 23 wide chars ", "ab", 0},
        {"utf16 nulls", Utf16Bytes("<R><S><K>a", false, true) + std::string("\0\0", 2) +
                            Utf16Bytes("b</K></S></R>", false, false),
         "UTF-16LE BOM + length 24 (1 nulls removed) ", "ab", kFileUtf16LeMark},
        // An 8-bit file that declares UTF-16 (it has no mark) is read as UTF-8 when it passes the check.
        {"declared utf-16", kDeclaredUtf16, "UTF-16 length " + len(kDeclaredUtf16.size()) + " to " +
                                                len(kDeclaredUtf16.size() - 1) + " wide chars ", "v\xC3\xA9", 0},
        {"empty", "", "ANSI 0 length  Empty document", "", 0},
    };
}

TEST(XmlLoad, ResultTextAndDecodedValueForEachEncoding) {
    for (const LoadCase& c : LoadCases()) {
        SCOPED_TRACE(c.name);
        CXmlDocument fromFile;
        ASSERT_TRUE(fromFile.LoadFile(WriteTempFile(c.name, c.bytes)));
        CXmlDocument fromMemory;
        ASSERT_TRUE(fromMemory.LoadBytes(c.bytes.data(), c.bytes.size()));
        for (CXmlDocument* document : {&fromFile, &fromMemory}) {
            EXPECT_EQ(Utf8(document->LoadReport()), c.expectedResult);
            EXPECT_EQ(Utf8(LookupValue(*document, u"S", u"K")), c.expectedValue);
            EXPECT_EQ(document->FileFlags(), c.expectedFlags);
        }
    }
}

TEST(XmlLoad, MetaContentTypeIsComparedWithoutCase) {
    const std::string page =
        "<html><head><meta http-equiv=\"content-type\" content=\"text/html;charset=windows-1251\"></head></html>";
    EXPECT_EQ(Utf8(DeclaredEncoding(page)), "windows-1251");
}

TEST(XmlLoad, DeclaredEncodingSniffing) {
    struct Case {
        const char* sample;
        const char* declared;
    };
    const Case cases[] = {
        {"<?xml version=\"1.0\" encoding=\"UTF-8\"?><a/>", "UTF-8"},
        {"<?XML ENCODING='latin1'?><a/>", "latin1"},
        {"<?xml version=\"1.0\"?><a/>", ""},
        {"<!-- c --><?xml encoding=\"koi8-r\"?><a/>", "koi8-r"},
        {"<a/><?xml encoding=\"koi8-r\"?>", ""},            // an element came first
        {"<?other x?><?xml encoding=\"koi8-r\"?><a/>", ""},  // only the first instruction counts
        {"<html><meta http-equiv=Content-Type content=\"text/html; charset = big5\"></html>", "big5"},
        {"<html><head></head><meta http-equiv=Content-Type content=\"charset=big5\"></html>", ""},
        {"<body><meta http-equiv=Content-Type content=\"charset=big5\"></body>", ""},  // not html
        {"<html><meta http-equiv=Refresh content=\"charset=big5\"><meta http-equiv=Content-Type "
         "content=\"text/html\"></html>", ""},
        {"<html><1bad><meta http-equiv=Content-Type content=\"charset=big5\"></html>", ""},  // error stops
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Utf8(DeclaredEncoding(c.sample)), c.declared) << c.sample;
    }
}

TEST(XmlLoad, UnreadableFileLeavesAnEmptyDocumentAndTheSystemMessage) {
    CXmlDocument document;
    ASSERT_TRUE(document.LoadBytes("<R><S><K>v</K></S></R>", 22));
    EXPECT_FALSE(document.LoadFile(::testing::TempDir() + "xmltest_does_not_exist.xml"));
    EXPECT_EQ(Utf8(document.LoadReport()), "No such file or directory");
    EXPECT_TRUE(document.Text().empty());
    EXPECT_FALSE(document.FindNext());
    EXPECT_EQ(LookupValue(document, u"S", u"K"), u"");

    EXPECT_FALSE(document.LoadFile(::testing::TempDir()));
    EXPECT_EQ(Utf8(document.LoadReport()), "Is a directory");
}

TEST(XmlLoad, Utf8Check) {
    struct Case {
        std::string bytes;
        bool passes;
    };
    const Case cases[] = {
        {"plain ascii", true},
        {"\xC3\xA9", true},
        {"\xE2\x82\xAC", true},
        {"\xF0\x9F\x98\x80", true},
        {"\xC0\x80", true},            // overlong forms are not rejected
        {"\x80\x80", true},            // 10xxxxxx is taken as a two-byte lead
        {"\xF8\x80\x80\x80\x80", false},
        {"\xC3", false},               // continuation outside the buffer
        {"\xC3(", false},              // continuation without the high bit
        {std::string("ok\0\xFF", 4), true},  // the check stops at the first zero byte
    };
    for (const Case& c : cases) EXPECT_EQ(PassesUtf8Check(c.bytes), c.passes) << c.bytes;
}

}  // namespace
}  // namespace xml::test
