#include "SettingsFiles.h"

#include "IniFile.h"

#include <string_view>

namespace config {

std::string g_userDataDir;

namespace {

constexpr std::u16string_view kSettingSection = u"Setting";
constexpr std::u16string_view kProfileKey = u"Profile";
// The only profile record the block holds.
constexpr int kProfileNumber = 0;

std::u16string NumberedKey(std::u16string_view prefix, std::size_t n) {
    const std::string digits = std::to_string(n);
    return std::u16string(prefix) + std::u16string(digits.begin(), digits.end());
}

// The forced bytes of the base settings block: every start puts them back, whatever the file held.
void ForceBaseBytes(ProfileRecord& record) {
    record.base[0] = 3;
    record.base[1] = 0;
    record.base[2] = 0;
    record.base[3] = 0;
    record.base[528] = 7;
    record.base[529] = 6;
    record.base[530] = 6;
}

// A button block whose value is beyond the known functions gets the default of its position back.
void RepairButtons(std::array<ButtonBlock, kButtonCount>& blocks, const std::array<std::uint16_t, kButtonCount>& defaults) {
    constexpr std::uint16_t kLastKnownFunction = 0x2100;
    for (std::size_t n = 0; n < kButtonCount; ++n) {
        if (ButtonValue(blocks[n]) > kLastKnownFunction) {
            blocks[n][0] = static_cast<std::uint8_t>(defaults[n] & 0xFF);
            blocks[n][1] = static_cast<std::uint8_t>(defaults[n] >> 8);
            blocks[n][blocks[n].size() - 1] = 1;
        }
    }
}

void ClampProfileIndex(SettingsBlock& block) {
    if (block.ProfileIndex() > 1) block.SetProfileIndex(0);
}

}  // namespace

std::string ConfigFilePath() { return g_userDataDir + "config.ini"; }

std::string ProfileFilePath(int profile) { return g_userDataDir + "Profile" + std::to_string(profile) + ".Prf"; }

void InitSettingsBlock(SettingsBlock& working, SettingsBlock& saved) {
    working = SettingsBlock{};  // all zero
    working.profiles[0].Reset();
    ClampProfileIndex(working);
    LoadSettingsFiles(working);
    ProfileRecord& record = working.profiles[0];
    ForceBaseBytes(record);
    RepairButtons(record.buttons, kButtonDefaults);
    RepairButtons(record.buttonsEx, kButtonExDefaults);
    ClampProfileIndex(working);
    saved = working;
}

void LoadSettingsFiles(SettingsBlock& block) {
    const std::int32_t profile = ReadIniInt(ConfigFilePath(), kSettingSection, kProfileKey, 0);
    block.SetProfileIndex(static_cast<std::uint8_t>(profile & 0xFF));

    const std::string path = ProfileFilePath(kProfileNumber);
    ProfileRecord& record = block.profiles[0];
    SetTextField(record.name, ReadIniText(path, u"PROFILE_NAME", u"NAME"));
    for (std::size_t n = 0; n < kButtonCount; ++n) {
        ReadIniBlock(path, u"BUTTON", NumberedKey(u"BTN_", n + 1), record.buttons[n]);
    }
    for (std::size_t n = 0; n < kButtonCount; ++n) {
        ReadIniBlock(path, u"BUTTON_EX", NumberedKey(u"BTN_", n + 1), record.buttonsEx[n]);
    }
    for (std::size_t n = 0; n < kDpiEntryCount; ++n) {
        ReadIniBlock(path, u"DPI_SETTING", NumberedKey(u"DPI_", n + 1), record.dpi[n]);
    }
    ReadIniBlock(path, u"SETTING", u"BASE", record.base);
    LightingSection& lighting = record.lighting;
    lighting.SetSelectEffect(ReadIniInt(path, u"EFFECT", u"SELECT_EFFECT", 0));
    ReadIniBlock(path, u"EFFECT", u"BASE_LAYER", lighting.baseLayer.bytes);
    ReadIniBlock(path, u"EFFECT", u"MULTILAYER", lighting.multiLayer.bytes);
    ReadIniBlock(path, u"EFFECT", u"SYSTEM_STATUS", lighting.systemStatus);

    SetTextField(block.pictureNames[0], ReadIniText(path, u"PROFILE_NAME_PIC", u"NAME"));
}

void SaveSettingsFiles(const SettingsBlock& block) {
    WriteIniInt(ConfigFilePath(), kSettingSection, kProfileKey, block.ProfileIndex());

    const std::string path = ProfileFilePath(kProfileNumber);
    const ProfileRecord& record = block.profiles[0];
    WriteIniText(path, u"PROFILE_NAME", u"NAME", TextFieldValue(record.name));
    for (std::size_t n = 0; n < kButtonCount; ++n) {
        WriteIniBlock(path, u"BUTTON", NumberedKey(u"BTN_", n + 1), record.buttons[n]);
    }
    for (std::size_t n = 0; n < kButtonCount; ++n) {
        WriteIniBlock(path, u"BUTTON_EX", NumberedKey(u"BTN_", n + 1), record.buttonsEx[n]);
    }
    for (std::size_t n = 0; n < kDpiEntryCount; ++n) {
        WriteIniBlock(path, u"DPI_SETTING", NumberedKey(u"DPI_", n + 1), record.dpi[n]);
    }
    WriteIniBlock(path, u"SETTING", u"BASE", record.base);
    const LightingSection& lighting = record.lighting;
    WriteIniInt(path, u"EFFECT", u"SELECT_EFFECT", lighting.SelectEffect());
    WriteIniBlock(path, u"EFFECT", u"BASE_LAYER", lighting.baseLayer.bytes);
    WriteIniBlock(path, u"EFFECT", u"MULTILAYER", lighting.multiLayer.bytes);
    WriteIniBlock(path, u"EFFECT", u"SYSTEM_STATUS", lighting.systemStatus);

    WriteIniText(path, u"PROFILE_NAME_PIC", u"NAME", TextFieldValue(block.pictureNames[0]));
}

}  // namespace config
