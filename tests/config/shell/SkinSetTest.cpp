#include "SkinSet.h"

#include "CommandLine.h"
#include "DebugLog.h"
#include "DebugLogText.h"
#include "ScopedEnvironment.h"
#include "SettingsFiles.h"
#include "SkinDocuments.h"
#include "TemporaryFolder.h"
#include "XmlDocument.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

// A program folder with its own skin set, and private configuration and desktop folders.
class SkinSetTest : public ::testing::Test {
protected:
    void SetUp() override {
        environment_.Set("XDG_CONFIG_HOME", home_.File("config"));
        environment_.Set("XDG_DESKTOP_DIR", home_.File("desktop"));
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

TEST_F(SkinSetTest, NothingIsLoggedWithTheSwitchOff) {
    config::g_debugLog = false;
    config::LoadSkinSetFrom(ProgramDir(), "1920x1080/");
    EXPECT_FALSE(std::filesystem::exists(config::DebugLogFilePath()));
}

}  // namespace
