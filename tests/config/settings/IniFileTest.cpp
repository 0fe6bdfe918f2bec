// The initialisation-file primitives on hand-written files: matching, in-place edits, layout kept,
// byte blocks strict, atomic replacement.
#include "IniFile.h"
#include "SettingsTestSupport.h"

#include <array>
#include <cerrno>
#include <filesystem>
#include <sys/stat.h>

namespace settings_test {
namespace {

using config::ReadIniBlock;
using config::ReadIniInt;
using config::ReadIniText;

class IniFileTest : public DataFolderFixture {
protected:
    std::string path_ = File("test.ini");
};

TEST_F(IniFileTest, ReadsMatchWithoutCaseTrimBlanksStripQuotesAndTakeTheFirstDuplicate) {
    WriteBytes(path_, Utf16File(u"; comment=not a key\r\n"
                                u"  [ Colours ] trailing text\r\n"
                                u"Red =  ff0000 \r\n"
                                u"quoted=\"  spaced  \"\r\n"
                                u"single='x'\r\n"
                                u"half=\"open\r\n"
                                u"red=second\r\n"
                                u"eq=a=b\n"
                                u"[colours]\r\n"
                                u"Green=shadowed\r\n"
                                u"[Other]\r\n"
                                u"Green=00ff00\r\n"));
    EXPECT_EQ(ReadIniText(path_, u"COLOURS", u"RED"), u"ff0000");
    EXPECT_EQ(ReadIniText(path_, u"colours", u"Quoted"), u"  spaced  ");
    EXPECT_EQ(ReadIniText(path_, u"Colours", u"single"), u"x");
    EXPECT_EQ(ReadIniText(path_, u"Colours", u"half"), u"\"open");
    EXPECT_EQ(ReadIniText(path_, u"Colours", u"eq"), u"a=b");
    EXPECT_EQ(ReadIniText(path_, u"Colours", u"Green"), u"") << "only the first of duplicate sections counts";
    EXPECT_EQ(ReadIniText(path_, u"Other", u"green"), u"00ff00");
    EXPECT_EQ(ReadIniText(path_, u"Colours", u"; comment"), u"");
    EXPECT_EQ(ReadIniText(File("missing.ini"), u"Colours", u"Red"), u"");
}

TEST_F(IniFileTest, IntegersAreSignedDecimalWithDefaultOnlyWhenMissing) {
    WriteBytes(path_, Utf16File(u"[N]\r\na=42\r\nb=-7\r\nc= 12abc\r\nd=abc\r\ne=\r\nf=4294967297\r\n"));
    EXPECT_EQ(ReadIniInt(path_, u"N", u"a", 5), 42);
    EXPECT_EQ(ReadIniInt(path_, u"N", u"b", 5), -7);
    EXPECT_EQ(ReadIniInt(path_, u"N", u"c", 5), 12);
    EXPECT_EQ(ReadIniInt(path_, u"N", u"d", 5), 0);
    EXPECT_EQ(ReadIniInt(path_, u"N", u"e", 5), 0);
    EXPECT_EQ(ReadIniInt(path_, u"N", u"f", 5), 1) << "32-bit wrap";
    EXPECT_EQ(ReadIniInt(path_, u"N", u"missing", 5), 5);
}

TEST_F(IniFileTest, WritesReplaceInPlaceAppendKeysToTheirSectionAndSectionsToTheEnd) {
    WriteBytes(path_, Utf16File(u"; kept\r\n[First]\r\nKey=old\r\nunknown line\r\n\r\n[Second]\r\nz=1\r\n"));
    config::WriteIniText(path_, u"FIRST", u"key", u"new");
    config::WriteIniInt(path_, u"first", u"Added", -3);
    config::WriteIniText(path_, u"Third", u"t", u"v");
    EXPECT_EQ(ReadBytes(path_), Utf16File(u"; kept\r\n[First]\r\nKey=new\r\nAdded=-3\r\nunknown line\r\n\r\n"
                                          u"[Second]\r\nz=1\r\n[Third]\r\nt=v\r\n"));
}

TEST_F(IniFileTest, FirstWriteCreatesAUtf16FileAndALineBreakCannotSplitAValue) {
    config::WriteIniText(path_, u"S", u"k", u"a\r\nb");
    EXPECT_EQ(ReadBytes(path_), Utf16File(u"[S]\r\nk=a  b\r\n"));
}

TEST_F(IniFileTest, AFileWithoutByteOrderMarkIsReadAsUtf8AndRewrittenAsUtf16) {
    WriteBytes(path_, "[S]\r\nname=\xC3\xA4\r\n");
    EXPECT_EQ(ReadIniText(path_, u"S", u"name"), u"\u00e4");
    config::WriteIniInt(path_, u"S", u"n", 1);
    EXPECT_EQ(ReadBytes(path_), Utf16File(u"[S]\r\nname=\u00e4\r\nn=1\r\n"));

    // A UTF-8 file that starts with its own byte-order mark: the mark is not part of the first line.
    WriteBytes(path_, "\xEF\xBB\xBF[S]\r\nname=x\r\n");
    EXPECT_EQ(ReadIniText(path_, u"S", u"name"), u"x");
    config::WriteIniInt(path_, u"S", u"n", 1);
    EXPECT_EQ(ReadBytes(path_), Utf16File(u"[S]\r\nname=x\r\nn=1\r\n"));
}

TEST_F(IniFileTest, AnUnmarkedFileThatIsNotUtf8IsReadAsWindows1252) {
    struct Case {
        const char* name;
        std::string bytes;
        std::u16string section;
        std::u16string value;
    };
    const Case cases[] = {
        {"valid UTF-8", "[Fa\xC3\xA7" "ade]\r\nname=Caf\xC3\xA9 \xE2\x82\xAC\r\n", u"Fa\u00e7ade", u"Caf\u00e9 \u20ac"},
        {"windows-1252", "[Fa\xE7" "ade]\r\nname=Caf\xE9 \x80\r\n", u"Fa\u00e7ade", u"Caf\u00e9 \u20ac"},
        // E9 E0 E8 has the shape of one three-byte UTF-8 sequence but is not valid UTF-8.
        {"windows-1252 shaped like UTF-8", "[\xC9t\xE9]\r\nname=\xE9\xE0\xE8\r\n", u"\u00c9t\u00e9",
         u"\u00e9\u00e0\u00e8"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes(path_, c.bytes);
        EXPECT_EQ(ReadIniText(path_, c.section, u"name"), c.value);
        // The first write keeps the text and stores it as UTF-16.
        config::WriteIniInt(path_, c.section, u"n", 1);
        EXPECT_EQ(ReadBytes(path_), Utf16File(u"[" + c.section + u"]\r\nname=" + c.value + u"\r\nn=1\r\n"));
    }
}

TEST_F(IniFileTest, BlocksAreUpperCaseHexWithTheirSumAndReadStrictly) {
    const std::array<std::uint8_t, 3> dpi{1, 2, 3};
    config::WriteIniBlock(path_, u"DPI_SETTING", u"DPI_1", dpi);
    EXPECT_EQ(ReadIniText(path_, u"DPI_SETTING", u"DPI_1"), u"01020306");
    const std::array<std::uint8_t, 2> high{0xAB, 0xFE};
    EXPECT_EQ(config::EncodeIniBlock(high), u"ABFEA9");

    struct Case {
        std::u16string value;
        bool accepted;
    };
    const Case cases[] = {
        {u"01020306", true},  {u"0a0B0c21", true},  // lower-case digits read as well
        {u"01020307", false},                        // wrong checksum
        {u"010203", false},   {u"0102030600", false},  // wrong length
        {u"01020G06", false}, {u"01 20306", false},  // not a hexadecimal digit
    };
    for (const Case& c : cases) {
        std::array<std::uint8_t, 3> destination{7, 7, 7};
        EXPECT_EQ(config::DecodeIniBlock(c.value, destination), c.accepted) << std::string(c.value.begin(), c.value.end());
        if (!c.accepted) {
            EXPECT_EQ(destination, (std::array<std::uint8_t, 3>{7, 7, 7}));
        }
    }
    std::array<std::uint8_t, 3> read{};
    ASSERT_TRUE(ReadIniBlock(path_, u"dpi_setting", u"dpi_1", read));
    EXPECT_EQ(read, dpi);
}

TEST_F(IniFileTest, WritesReplaceTheFileAtomicallyAndKeepItsPermissions) {
    config::WriteIniInt(path_, u"S", u"a", 1);
    ASSERT_EQ(::chmod(path_.c_str(), 0600), 0);
    config::WriteIniInt(path_, u"S", u"b", 2);
    struct stat info {};
    ASSERT_EQ(::stat(path_.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder_.Path())) ++files;
    EXPECT_EQ(files, 1u) << "no temporary file left behind";

    // A folder that does not exist: nothing is written and the write says why.
    const std::string nowhere = File("missing/test.ini");
    EXPECT_EQ(config::WriteIniInt(nowhere, u"S", u"a", 1), ENOENT);
    EXPECT_FALSE(std::filesystem::exists(nowhere));
}

TEST_F(IniFileTest, AnExistingFileThatCannotBeReadIsNeverReplaced) {
    // A folder in the file's place stands for any file that exists but cannot be read: rewriting it
    // from an empty text would lose every value it holds.
    std::filesystem::create_directory(path_);
    std::filesystem::create_directory(path_ + "/kept");
    EXPECT_EQ(config::WriteIniInt(path_, u"S", u"a", 1), EISDIR);
    EXPECT_TRUE(std::filesystem::exists(path_ + "/kept"));
    EXPECT_EQ(config::WriteIniInt(File("other.ini"), u"S", u"a", 1), 0);
}

}  // namespace
}  // namespace settings_test
