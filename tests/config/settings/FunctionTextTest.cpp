#include "FunctionText.h"

#include "XmlTextConversion.h"

#include <gtest/gtest.h>

namespace config {
namespace {

TEST(FunctionText, TextsComeFromTheStringDocument) {
    xml::CXmlDocument strings;
    strings.SetText(xml::Utf8ToUtf16(
        "<STRINGS><FUNC_LIST><STATIC>Static</STATIC><BREATH>Breathing</BREATH></FUNC_LIST>"
        "<PROFILE_PIC><LOAD_PIC>Load picture</LOAD_PIC></PROFILE_PIC></STRINGS>"));
    struct Case {
        uint16_t code;
        const char16_t* text;
    };
    const Case cases[] = {
        {0x1000, u"Static"},
        {0x1008, u"Breathing"},
        {0x0570, u"Load picture"},
        {0x0571, u""},  // entry exists, key missing from this document
        {0x100E, u""},
        {0x100B, u""},  // codes without entry
        {0x1104, u""},
        {0x0000, u""},
    };
    for (const Case& c : cases) EXPECT_EQ(GetFunctionText(strings, c.code), c.text) << std::hex << c.code;
}

TEST(FunctionText, TableEntries) {
    const FunctionTextEntry* breath = FindFunctionEntry(0x1008);
    ASSERT_NE(breath, nullptr);
    EXPECT_EQ(breath->section, u"FUNC_LIST");
    EXPECT_EQ(breath->key, u"BREATH");
    for (uint16_t missing : {0x100B, 0x1104, 0x1105, 0x2000, 0x0550}) EXPECT_EQ(FindFunctionEntry(missing), nullptr);
    // The LED page's seven effects all have names.
    for (uint16_t effect : {0x1000, 0x1004, 0x1005, 0x1007, 0x1008, 0x100A, 0x100E}) {
        EXPECT_NE(FindFunctionEntry(effect), nullptr) << std::hex << effect;
    }
}

}  // namespace
}  // namespace config
