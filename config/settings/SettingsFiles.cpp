#include "SettingsFiles.h"

#include "IniFile.h"

#include <span>
#include <string_view>
#include <vector>

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
void RepairButtons(std::array<ButtonBlock, kButtonCount>& blocks,
                   const std::array<std::uint16_t, kButtonCount>& defaults) {
    constexpr std::uint16_t kLastKnownFunction = 0x2100;
    for (std::size_t n = 0; n < kButtonCount; ++n) {
        if (ButtonValue(blocks[n]) > kLastKnownFunction) {
            blocks[n][0] = static_cast<std::uint8_t>(defaults[n] & 0xFF);
            blocks[n][1] = static_cast<std::uint8_t>(defaults[n] >> 8);
            blocks[n][blocks[n].size() - 1] = 1;
        }
    }
}

// The byte blocks of the profile file, in the order they are written: the button blocks, the 3-byte
// entries and BASE come before "EFFECT"/"SELECT_EFFECT", the lighting blocks after it.
struct ProfileBlock {
    std::u16string_view section;
    std::u16string key;
    std::span<std::uint8_t> bytes;
};

constexpr std::u16string_view kNameSection = u"PROFILE_NAME";
constexpr std::u16string_view kPictureSection = u"PROFILE_NAME_PIC";
constexpr std::u16string_view kNameKey = u"NAME";
constexpr std::u16string_view kEffectSection = u"EFFECT";
constexpr std::u16string_view kSelectEffectKey = u"SELECT_EFFECT";

std::vector<ProfileBlock> RecordBlocks(ProfileRecord& record) {
    std::vector<ProfileBlock> blocks;
    for (std::size_t n = 0; n < kButtonCount; ++n) {
        blocks.push_back({u"BUTTON", NumberedKey(u"BTN_", n + 1), record.buttons[n]});
    }
    for (std::size_t n = 0; n < kButtonCount; ++n) {
        blocks.push_back({u"BUTTON_EX", NumberedKey(u"BTN_", n + 1), record.buttonsEx[n]});
    }
    for (std::size_t n = 0; n < kDpiEntryCount; ++n) {
        blocks.push_back({u"DPI_SETTING", NumberedKey(u"DPI_", n + 1), record.dpi[n]});
    }
    blocks.push_back({u"SETTING", u"BASE", record.base});
    return blocks;
}

std::vector<ProfileBlock> LightingBlocks(LightingSection& lighting) {
    return {{kEffectSection, u"BASE_LAYER", lighting.baseLayer.bytes},
            {kEffectSection, u"MULTILAYER", lighting.multiLayer.bytes},
            {kEffectSection, u"SYSTEM_STATUS", lighting.systemStatus}};
}

void Note(SaveOutcome& outcome, const std::string& path, int error) {
    if (error != 0 && outcome.error == 0) {
        outcome.error = error;
        outcome.failedPath = path;
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

    LoadProfileFile(ProfileFilePath(kProfileNumber), block);
}

void LoadProfileFile(const std::string& path, SettingsBlock& block) {
    ProfileRecord& record = block.profiles[0];
    SetTextField(record.name, ReadIniText(path, kNameSection, kNameKey));
    for (const ProfileBlock& b : RecordBlocks(record)) ReadIniBlock(path, b.section, b.key, b.bytes);
    LightingSection& lighting = record.lighting;
    lighting.SetSelectEffect(ReadIniInt(path, kEffectSection, kSelectEffectKey, 0));
    for (const ProfileBlock& b : LightingBlocks(lighting)) ReadIniBlock(path, b.section, b.key, b.bytes);
    SetTextField(block.pictureNames[0], ReadIniText(path, kPictureSection, kNameKey));
}

// Every value is still attempted after a failure, so each file holds as much as could be stored; the
// outcome keeps the first failure.
SaveOutcome SaveSettingsFiles(const SettingsBlock& block) {
    SaveOutcome outcome;
    Note(outcome, ConfigFilePath(), WriteIniInt(ConfigFilePath(), kSettingSection, kProfileKey, block.ProfileIndex()));
    const SaveOutcome profile = SaveProfileFile(ProfileFilePath(kProfileNumber), block);
    Note(outcome, profile.failedPath, profile.error);
    return outcome;
}

SaveOutcome SaveProfileFile(const std::string& path, const SettingsBlock& block) {
    SaveOutcome outcome;
    const auto note = [&outcome](const std::string& file, int error) { Note(outcome, file, error); };
    ProfileRecord record = block.profiles[0];  // a copy: the block lists hand out writable bytes
    note(path, WriteIniText(path, kNameSection, kNameKey, TextFieldValue(record.name)));
    for (const ProfileBlock& b : RecordBlocks(record)) note(path, WriteIniBlock(path, b.section, b.key, b.bytes));
    LightingSection& lighting = record.lighting;
    note(path, WriteIniInt(path, kEffectSection, kSelectEffectKey, lighting.SelectEffect()));
    for (const ProfileBlock& b : LightingBlocks(lighting)) note(path, WriteIniBlock(path, b.section, b.key, b.bytes));
    note(path, WriteIniText(path, kPictureSection, kNameKey, TextFieldValue(block.pictureNames[0])));
    return outcome;
}

}  // namespace config
