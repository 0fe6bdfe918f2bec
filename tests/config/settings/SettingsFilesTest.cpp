// "config.ini" and Profile0.Prf: exact bytes against the committed expected files (built from the
// documented layout by golden/make_golden.py), the start-up rules and the tolerance of bad values.
#include "IniFile.h"
#include "SettingsFiles.h"
#include "SettingsTestSupport.h"

#include <cerrno>
#include <filesystem>

namespace settings_test {
namespace {

using config::SettingsBlock;

const std::string kGolden = GOLDEN_DIR;

SettingsBlock DefaultBlock() {
    SettingsBlock block{};
    block.profiles[0].Reset();
    return block;
}

// The edit that golden/make_golden.py describes.
SettingsBlock EditedBlock() {
    SettingsBlock block = DefaultBlock();
    block.SetProfileIndex(1);
    config::ProfileRecord& record = block.profiles[0];
    config::SetTextField(record.name, u"Abend \u03a9 \u00e4");
    config::SetTextField(block.pictureNames[0], u"night.png");
    record.buttons[0] = config::DefaultButtonBlock(0x2055);
    record.dpi[0] = {1, 2, 3};
    record.base[526] = 12;
    record.lighting.SetSelectEffect(3);
    record.lighting.baseLayer.SetColor(config::layer_field::STATIC_COLOR, 0x123456);
    for (std::size_t led = 0; led < 4; ++led) {
        record.lighting.multiLayer.SetLayerType(led, std::array<std::uint8_t, 4>{1, 2, 2, 0}[led]);
    }
    record.lighting.systemStatus = {0, 0, 1};
    return block;
}

class SettingsFilesTest : public DataFolderFixture {
protected:
    void InstallGolden(const std::string& prefix) {
        std::filesystem::copy_file(kGolden + "/" + prefix + "_config.ini", File("config.ini"));
        std::filesystem::copy_file(kGolden + "/" + prefix + "_Profile0.Prf", File("Profile0.Prf"));
    }
    SettingsBlock Init() {
        SettingsBlock working;
        SettingsBlock saved;
        config::InitSettingsBlock(working, saved);
        EXPECT_EQ(working, saved);
        return working;
    }
};

TEST_F(SettingsFilesTest, FirstStartGivesTheDefaultsAndTheFirstSaveWritesTheExpectedFiles) {
    const SettingsBlock block = Init();
    EXPECT_EQ(block, DefaultBlock());
    EXPECT_FALSE(std::filesystem::exists(File("config.ini"))) << "loading creates no file";
    EXPECT_FALSE(std::filesystem::exists(File("Profile0.Prf")));

    config::SaveSettingsFiles(block);
    EXPECT_EQ(ReadBytes(File("config.ini")), ReadBytes(kGolden + "/default_config.ini"));
    EXPECT_EQ(ReadBytes(File("Profile0.Prf")), ReadBytes(kGolden + "/default_Profile0.Prf"));
}

TEST_F(SettingsFilesTest, AnEditedBlockWritesTheExpectedFilesAndLoadsBack) {
    config::SaveSettingsFiles(EditedBlock());
    EXPECT_EQ(ReadBytes(File("config.ini")), ReadBytes(kGolden + "/edited_config.ini"));
    EXPECT_EQ(ReadBytes(File("Profile0.Prf")), ReadBytes(kGolden + "/edited_Profile0.Prf"));

    std::filesystem::remove(File("config.ini"));
    std::filesystem::remove(File("Profile0.Prf"));
    InstallGolden("edited");
    EXPECT_EQ(Init(), EditedBlock());

    // Saving over existing files replaces the values in place: the same bytes again.
    config::SaveSettingsFiles(EditedBlock());
    EXPECT_EQ(ReadBytes(File("Profile0.Prf")), ReadBytes(kGolden + "/edited_Profile0.Prf"));
}

TEST_F(SettingsFilesTest, ProfileIndexKeepsItsLowByteAndOnlyZeroOrOne) {
    const std::pair<std::u16string, std::uint8_t> cases[] = {
        {u"0", 0}, {u"1", 1}, {u"7", 0}, {u"257", 1}, {u"256", 0}, {u"-1", 0}, {u"abc", 0}};
    for (const auto& [text, expected] : cases) {
        WriteBytes(File("config.ini"), Utf16File(u"[Setting]\r\nProfile=" + text + u"\r\n"));
        EXPECT_EQ(Init().ProfileIndex(), expected) << std::string(text.begin(), text.end());
    }
}

TEST_F(SettingsFilesTest, BadBlocksLeaveTheirResetValueAndGoodOnesAreTaken) {
    const std::string path = File("Profile0.Prf");
    config::WriteIniText(path, u"DPI_SETTING", u"DPI_1", u"01020307");    // wrong checksum
    config::WriteIniText(path, u"DPI_SETTING", u"DPI_2", u"0102030600");  // wrong length
    config::WriteIniText(path, u"DPI_SETTING", u"DPI_3", u"0X020305");    // not hexadecimal
    config::WriteIniText(path, u"DPI_SETTING", u"DPI_4", u"01020306");
    config::WriteIniText(path, u"EFFECT", u"SYSTEM_STATUS", u"000102");   // one byte short
    const SettingsBlock block = Init();
    SettingsBlock expected = DefaultBlock();
    expected.profiles[0].dpi[3] = {1, 2, 3};
    EXPECT_EQ(block, expected);
}

TEST_F(SettingsFilesTest, ForcedBaseBytesAndButtonRepairApplyAtEveryStart) {
    const std::string path = File("Profile0.Prf");
    std::array<std::uint8_t, 532> base;
    base.fill(0x55);
    config::WriteIniBlock(path, u"SETTING", u"BASE", base);
    config::ButtonBlock beyond = config::DefaultButtonBlock(0x2101);
    beyond[535] = 0;
    beyond[7] = 9;
    config::WriteIniBlock(path, u"BUTTON", u"BTN_2", beyond);
    const config::ButtonBlock edge = config::DefaultButtonBlock(0x2100);
    config::WriteIniBlock(path, u"BUTTON_EX", u"BTN_10", edge);
    config::WriteIniBlock(path, u"BUTTON_EX", u"BTN_1", config::DefaultButtonBlock(0xFFFF));

    SettingsBlock block = Init();
    const config::ProfileRecord& record = block.profiles[0];
    const std::pair<std::size_t, std::uint8_t> forced[] = {{0, 3}, {1, 0}, {2, 0}, {3, 0}, {528, 7}, {529, 6}, {530, 6}};
    for (const auto& [offset, value] : forced) {
        EXPECT_EQ(record.base[offset], value) << offset;
    }
    EXPECT_EQ(record.base[526], 0x55) << "only the forced bytes change";
    EXPECT_EQ(record.base[4], 0x55);

    config::ButtonBlock repaired = beyond;
    repaired[0] = 0x12;
    repaired[1] = 0x20;
    repaired[535] = 1;
    EXPECT_EQ(record.buttons[1], repaired) << "value and last byte replaced, the rest kept";
    EXPECT_EQ(record.buttonsEx[9], edge) << "0x2100 stays";
    EXPECT_EQ(config::ButtonValue(record.buttonsEx[0]), 0x2090);

    // The next save writes the repair back.
    config::SaveSettingsFiles(block);
    config::ButtonBlock stored{};
    ASSERT_TRUE(config::ReadIniBlock(path, u"BUTTON", u"BTN_2", stored));
    EXPECT_EQ(stored, repaired);
}

TEST_F(SettingsFilesTest, NamesLongerThanTheFieldAreCutAndTheFrequenciesStayOutOfTheFile) {
    const std::u16string longName(300, u'n');
    config::WriteIniText(File("Profile0.Prf"), u"PROFILE_NAME", u"NAME", longName);
    config::WriteIniText(File("Profile0.Prf"), u"PROFILE_NAME_PIC", u"NAME", longName);
    SettingsBlock block = Init();
    EXPECT_EQ(config::TextFieldValue(block.profiles[0].name), longName.substr(0, 259));
    EXPECT_EQ(config::TextFieldValue(block.pictureNames[0]), longName.substr(0, 259));

    block.profiles[0].lighting.frequency.bytes[5] = 0x77;
    block.profiles[0].reserved11240 = 0x66;
    config::SaveSettingsFiles(block);
    const SettingsBlock reloaded = Init();
    EXPECT_EQ(reloaded.profiles[0].lighting.frequency, DefaultBlock().profiles[0].lighting.frequency);
    EXPECT_EQ(reloaded.profiles[0].reserved11240, 0);
}

TEST_F(SettingsFilesTest, AFileThatCannotBeWrittenIsReportedAndTheOtherIsStillWritten) {
    std::filesystem::create_directory(File("config.ini"));
    const config::SaveOutcome outcome = config::SaveSettingsFiles(EditedBlock());
    EXPECT_FALSE(outcome.Saved());
    EXPECT_EQ(outcome.error, EISDIR);
    EXPECT_EQ(outcome.failedPath, config::ConfigFilePath());
    SettingsBlock loaded = DefaultBlock();
    config::LoadSettingsFiles(loaded);
    EXPECT_EQ(loaded.profiles[0], EditedBlock().profiles[0]) << "the profile file was written in full";

    std::filesystem::remove(File("config.ini"));
    EXPECT_TRUE(config::SaveSettingsFiles(EditedBlock()).Saved());
}

}  // namespace
}  // namespace settings_test
