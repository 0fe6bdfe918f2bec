#include "SkinSet.h"

#include "CommandLine.h"
#include "DebugLog.h"
#include "DebugLogText.h"
#include "ScopedEnvironment.h"
#include "SettingsFiles.h"
#include "SkinDocuments.h"
#include "SkinKeys.h"
#include "TemporaryFolder.h"
#include "XmlDocument.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

namespace {

// A string document of the person's own with every section the program takes texts from; MAIN/LANG
// says whose it is.
std::string WholeStringDocument(const std::string& language) {
    std::set<std::string> sections;
    for (const skindocs::SkinKeyEntry& entry : skindocs::SkinKeyTable()) {
        if (entry.document == skindocs::SkinDocumentId::Strings) sections.emplace(entry.section.begin(), entry.section.end());
    }
    std::string text = "<S>";
    for (const std::string& section : sections) {
        text += "<" + section + ">" + (section == "MAIN" ? "<LANG>" + language + "</LANG>" : "") + "</" + section + ">";
    }
    return text + "</S>";
}

// A program folder with its own skin set, and private configuration and desktop folders.
class SkinSetTest : public ::testing::Test {
protected:
    void SetUp() override {
        environment_.Set("XDG_CONFIG_HOME", home_.File("config"));
        environment_.Set("XDG_DESKTOP_DIR", home_.File("desktop"));
        environment_.Set("XDG_DATA_HOME", home_.File("data"));
        for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES"}) environment_.Unset(name);
        environment_.Set("LANG", "C.UTF-8");
        config::g_debugLog = true;
    }
    void TearDown() override {
        config::g_debugLog = false;
        skindocs::ResetSkinDocuments();
    }

    void Write(const std::string& relative, const std::string& text) {
        const std::filesystem::path path = program_.Path() + "/" + relative;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << text;
    }
    void WriteWholeSet() {
        Write("Skins.xml", "<SKIN><INFO><SW_VERSION>1.0</SW_VERSION></INFO></SKIN>");
        Write("Strings.xml", "<STR><MAIN><LINK_TEST>addr</LINK_TEST></MAIN></STR>");
        Write("Skins/1920x1080/Buttons.xml", "<B><MAIN><SUB_DLG>1080</SUB_DLG></MAIN></B>");
        Write("Skins/960x540/Buttons.xml", "<B><MAIN><SUB_DLG>540</SUB_DLG></MAIN></B>");
    }
    std::string ProgramDir() const { return program_.Path() + "/"; }

    platform_test::TemporaryFolder program_;
    platform_test::TemporaryFolder home_;
    platform_test::ScopedEnvironment environment_;
};

TEST_F(SkinSetTest, UiTwoTakesTheButtonsOf960x540AndTheRestFromTheProgramFolder) {
    WriteWholeSet();
    const config::StartupOptions options = config::ParseCommandLine(std::vector<std::string>{"ui:2"});
    config::LoadSkinSetFrom(ProgramDir(), config::ResolutionFolder(options.resolutionIndex, 3840));
    EXPECT_EQ(skindocs::g_programDir, ProgramDir());
    EXPECT_EQ(xml::LookupValue(skindocs::ButtonDocument(), u"MAIN", u"SUB_DLG"), u"540");
    EXPECT_EQ(xml::LookupValue(skindocs::SkinDocument(), u"INFO", u"SW_VERSION"), u"1.0");
    EXPECT_EQ(xml::LookupValue(skindocs::StringDocument(), u"MAIN", u"LINK_TEST"), u"addr");
    const std::string log = shell_test::DebugLogText();
    EXPECT_NE(log.find("APP Load Info: Size=960x540/ Skin=1 Str=1 Btn=1"), std::string::npos) << log;
    EXPECT_NE(log.find("Exe Path: " + ProgramDir()), std::string::npos) << log;
}

TEST_F(SkinSetTest, MissingAndEmptyFilesLeaveEmptyDocumentsAndShowZeros) {
    struct Case {
        bool writeSkin;
        const char* expected;
    };
    // Nothing at all; then an empty Skins.xml, which counts as read but holds nothing.
    for (const Case test : {Case{false, "Skin=0 Str=0 Btn=0"}, Case{true, "Skin=0 Str=0 Btn=0"}}) {
        if (test.writeSkin) Write("Skins.xml", "");
        std::filesystem::remove(config::DebugLogFilePath());
        config::LoadSkinSetFrom(ProgramDir(), "1366x768/");
        EXPECT_EQ(xml::LookupValue(skindocs::SkinDocument(), u"INFO", u"SW_VERSION"), u"");
        const std::string log = shell_test::DebugLogText();
        EXPECT_NE(log.find(std::string("APP Load Info: Size=1366x768/ ") + test.expected), std::string::npos) << log;
    }
}

TEST_F(SkinSetTest, PreparesTheUserDataFolders) {
    config::g_userDataDir.clear();
    config::LoadSkinSetFrom(ProgramDir(), "1920x1080/");
    const std::string data = home_.File("config") + "/Quillon/Halcyra/";
    EXPECT_EQ(config::g_userDataDir, data);
    for (const char* sub : {"Macros", "Profiles", "MousePads"}) {
        EXPECT_TRUE(std::filesystem::is_directory(data + sub)) << sub;
    }
}

// The string document follows the desktop's language; the person's own file comes before all.
TEST_F(SkinSetTest, StringDocumentFollowsTheLocale) {
    Write("Strings.xml", "<S><MAIN><LANG>en</LANG></MAIN></S>");
    Write("Languages/de/Strings.xml", "<S><MAIN><LANG>de</LANG></MAIN></S>");
    Write("Languages/pt_BR/Strings.xml", "<S><MAIN><LANG>pt_BR</LANG></MAIN></S>");
    const struct {
        const char* language;  // LANGUAGE
        const char* lang;      // LANG
        const char* expected;
    } rows[] = {
        {"", "de_DE.UTF-8", "de"},
        {"", "de_AT.UTF-8@euro", "de"},
        {"", "pt_BR.UTF-8", "pt_BR"},
        {"", "pt_PT.UTF-8", "en"},        // no Portuguese of Portugal, no bare Portuguese
        {"", "fr_FR.UTF-8", "en"},        // no French: the program folder's document
        {"", "C.UTF-8", "en"},
        {"fr:de", "fr_FR.UTF-8", "de"},   // the first listed language that is there
        {"en:de", "de_DE.UTF-8", "en"},   // English is the program folder's own document
        {"de", "C", "en"},                // LANGUAGE does not count in the C locale
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.language) + "|" + row.lang);
        platform_test::ScopedEnvironment locale;
        if (*row.language) locale.Set("LANGUAGE", row.language);
        locale.Set("LANG", row.lang);
        config::LoadSkinSetFrom(ProgramDir(), "1920x1080/");
        EXPECT_EQ(xml::LookupValue(skindocs::StringDocument(), u"MAIN", u"LANG"),
                  std::u16string(row.expected, row.expected + std::char_traits<char>::length(row.expected)));
    }

    // A document of the person's own wins over every language; the log names the one read.
    const std::string own = home_.File("data") + "/halcyra/Strings.xml";
    std::filesystem::create_directories(std::filesystem::path(own).parent_path());
    std::ofstream(own, std::ios::binary) << WholeStringDocument("own");
    environment_.Set("LANG", "de_DE.UTF-8");
    std::filesystem::remove(config::DebugLogFilePath());
    config::LoadSkinSetFrom(ProgramDir(), "1920x1080/");
    EXPECT_EQ(xml::LookupValue(skindocs::StringDocument(), u"MAIN", u"LANG"), u"own");
    const std::string log = shell_test::DebugLogText();
    EXPECT_NE(log.find("Str Path: " + own), std::string::npos) << log;
}

// A file of the person's own that holds no whole string document (empty, binary, plain text, cut off
// while it was written, or a document of another kind) must not leave the program without texts: the
// document of the desktop's language is read instead.
TEST_F(SkinSetTest, AnUnusableOwnStringDocumentFallsBackToTheLanguage) {
    Write("Strings.xml", "<S><MAIN><LANG>en</LANG></MAIN></S>");
    Write("Languages/de/Strings.xml", "<S><MAIN><LANG>de</LANG></MAIN></S>");
    environment_.Set("LANG", "de_DE.UTF-8");
    const std::filesystem::path own = home_.File("data") + "/halcyra/Strings.xml";
    std::filesystem::create_directories(own.parent_path());
    const struct {
        const char* what;
        std::string bytes;
    } rows[] = {
        {"empty", ""},
        {"binary", std::string("\x7f" "ELF\x02\x01\x01\0\0\xff\xfe\x00", 13)},
        {"text without elements", "just some words\n"},
        {"half-written", WholeStringDocument("own").substr(0, WholeStringDocument("own").size() / 2)},
        {"cut off before its last end tag", WholeStringDocument("own").substr(0, WholeStringDocument("own").size() - 4)},
        {"another kind of document", "<S><MAIN><LANG>own</LANG></MAIN></S>"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        std::ofstream(own, std::ios::binary | std::ios::trunc) << row.bytes;
        config::LoadSkinSetFrom(ProgramDir(), "1920x1080/");
        EXPECT_EQ(xml::LookupValue(skindocs::StringDocument(), u"MAIN", u"LANG"), u"de");
    }
}

TEST_F(SkinSetTest, NothingIsLoggedWithTheSwitchOff) {
    config::g_debugLog = false;
    config::LoadSkinSetFrom(ProgramDir(), "1920x1080/");
    EXPECT_FALSE(std::filesystem::exists(config::DebugLogFilePath()));
}

}  // namespace
