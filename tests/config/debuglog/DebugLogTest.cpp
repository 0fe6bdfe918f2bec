#include "DebugLog.h"

#include "DebugOutput.h"
#include "ScopedEnvironment.h"
#include "StandardErrorCapture.h"
#include "TemporaryFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

namespace {

using config::DebugLogArgument;

std::string Utf16Le(std::u16string_view text) {
    std::string bytes;
    for (const char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

std::u16string FromUtf16Le(std::string_view bytes) {
    std::u16string text;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        text += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                      static_cast<unsigned char>(bytes[i + 1]) << 8);
    }
    return text;
}

std::string Ascii(std::u16string_view text) { return std::string(text.begin(), text.end()); }

TEST(DebugLogFormat, WritesConversionsAndKeepsArgumentsLiteral) {
    struct Case {
        std::u16string_view format;
        std::vector<DebugLogArgument> arguments;
        std::u16string_view expected;
    };
    const Case cases[] = {
        {u"SetData Out: cmd:%x, Key:%x, Index:%x, Data:%x",
         {std::int64_t{0x40}, std::int64_t{0x63}, std::int64_t{0x1234}, std::int64_t{0xFF}},
         u"SetData Out: cmd:40, Key:63, Index:1234, Data:ff"},
        {u"Exe Path: %s", {std::u16string_view{u"/home/a/100%s %d%%"}}, u"Exe Path: /home/a/100%s %d%%"},
        {u"Error Get Effect Mode:%d, %d", {std::int64_t{-3}, std::int64_t{255}}, u"Error Get Effect Mode:-3, 255"},
        {u"%x", {std::int64_t{-1}}, u"ffffffff"},
        {u"100%% %q done %", {}, u"100% %q done %"},
        // A conversion without a fitting argument stays text; the unfitting argument is used up.
        {u"a %s b %d c %x", {std::int64_t{7}, std::u16string_view{u"t"}}, u"a %s b %d c %x"},
        {u"%d then %s", {std::u16string_view{u"x"}, std::u16string_view{u"y"}}, u"%d then y"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Ascii(config::FormatDebugMessage(c.format, c.arguments)), Ascii(c.expected)) << Ascii(c.format);
    }
}

TEST(DebugLogFormat, MessagesLongerThanTheOldBufferAreNotCut) {
    const std::u16string longPath(3000, u'p');
    const DebugLogArgument argument{std::u16string_view{longPath}};
    EXPECT_EQ(config::FormatDebugMessage(u"Exe Path: %s", {&argument, 1}), u"Exe Path: " + longPath);
}

TEST(DebugLogFormat, StampIsMonthDayHourMinuteWithOneTrailingBlank) {
    std::tm march{};
    march.tm_year = 2026 - 1900;
    march.tm_mon = 2;
    march.tm_mday = 7;
    march.tm_hour = 14;
    march.tm_min = 5;
    march.tm_sec = 59;
    EXPECT_EQ(Ascii(config::FormatDebugLogStamp(march)), "03/07 14:05 ");
    std::tm lateDecember = march;
    lateDecember.tm_mon = 11;
    lateDecember.tm_mday = 31;
    lateDecember.tm_hour = 23;
    lateDecember.tm_min = 59;
    EXPECT_EQ(Ascii(config::FormatDebugLogStamp(lateDecember)), "12/31 23:59 ");
}

// A private desktop folder (not created yet) and standard error captured for each test.
class DebugLogFile : public ::testing::Test {
protected:
    void SetUp() override {
        environment_.Set("XDG_DESKTOP_DIR", desktop_);
        environment_.Set("HOME", folder_.Path());
        // The log is written when the "debug" word was given, which also opens the debugger output.
        platform::SetDebugOutput(true);
    }
    void TearDown() override { platform::SetDebugOutput(false); }

    std::string LogBytes() const { return platform_test::ReadFileText(config::DebugLogFilePath()); }

    platform_test::TemporaryFolder folder_;
    std::string desktop_ = folder_.File("Desk top");
    platform_test::ScopedEnvironment environment_;
};

const std::regex kStamp(R"(\d\d/\d\d \d\d:\d\d )");

TEST_F(DebugLogFile, FirstLineCreatesFolderAndFileWithByteOrderMark) {
    platform_test::StandardErrorCapture capture(folder_.File("stderr"));
    config::WriteDebugLog(u"Detect No Device");
    config::WriteDebugLog(u"onDevicePlug: %s", u"OPEN");
    config::WriteDebugLog(u"Ger\u00E4t \u20AC \U0001D11E");
    const std::string errorText = capture.Stop();

    EXPECT_EQ(config::DebugLogFilePath(), desktop_ + "/Pellacor Setup.log");
    const std::string bytes = LogBytes();
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
    const std::u16string text = FromUtf16Le(bytes.substr(2));
    EXPECT_EQ(bytes.substr(2), Utf16Le(text)) << "an odd number of bytes";

    // Three lines, each "MM/DD HH:MM " + message + CR LF, and the same lines on standard error.
    const std::u16string messages[] = {u"Detect No Device", u"onDevicePlug: OPEN", u"Ger\u00E4t \u20AC \U0001D11E"};
    std::u16string rest = text;
    for (const std::u16string& message : messages) {
        const std::size_t end = rest.find(u"\r\n");
        ASSERT_NE(end, std::u16string::npos);
        const std::u16string line = rest.substr(0, end + 2);
        rest.erase(0, end + 2);
        ASSERT_GE(line.size(), 12u);
        EXPECT_TRUE(std::regex_match(Ascii(line.substr(0, 12)), kStamp)) << Ascii(line.substr(0, 12));
        EXPECT_EQ(line.substr(12), message + u"\r\n");
    }
    EXPECT_TRUE(rest.empty());
    EXPECT_NE(errorText.find(" Detect No Device\n"), std::string::npos) << errorText;
    EXPECT_NE(errorText.find(" onDevicePlug: OPEN\n"), std::string::npos) << errorText;
    EXPECT_NE(errorText.find(" Ger\xC3\xA4t \xE2\x82\xAC \xF0\x9D\x84\x9E\n"), std::string::npos) << errorText;
}

TEST_F(DebugLogFile, EmptyFileGetsTheMarkAndNonEmptyFileIsAppendedAsItIs) {
    std::filesystem::create_directories(desktop_);
    const std::string path = config::DebugLogFilePath();
    { std::ofstream empty(path, std::ios::binary); }
    config::WriteDebugLog(u"App Init");
    const std::string afterEmpty = LogBytes();
    EXPECT_EQ(afterEmpty.substr(0, 2), "\xFF\xFE");
    EXPECT_EQ(afterEmpty.substr(2 + 24), Utf16Le(u"App Init\r\n"));

    // Earlier content without a mark (a foreign or truncated file) is kept and never gets one.
    { std::ofstream old(path, std::ios::binary | std::ios::trunc); old << "OLD!"; }
    config::WriteDebugLog(u"Ready Init");
    const std::string appended = LogBytes();
    EXPECT_EQ(appended.substr(0, 4), "OLD!");
    EXPECT_EQ(appended.size(), 4 + 24 + Utf16Le(u"Ready Init\r\n").size());
    EXPECT_EQ(appended.substr(4 + 24), Utf16Le(u"Ready Init\r\n"));
}

TEST_F(DebugLogFile, UnwritableDesktopStillReachesStandardError) {
    // The desktop path runs through a regular file, so neither the folder nor the log can be made.
    { std::ofstream blocker(folder_.File("blocker")); }
    environment_.Set("XDG_DESKTOP_DIR", folder_.File("blocker") + "/Desktop");
    platform_test::StandardErrorCapture capture(folder_.File("stderr"));
    config::WriteDebugLog(u"Destroy App %d", 1);
    EXPECT_NE(capture.Stop().find(" Destroy App 1\n"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(folder_.File("blocker") + "/Desktop"));
}

}  // namespace
