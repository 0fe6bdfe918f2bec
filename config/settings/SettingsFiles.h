// The per-user settings files: "config.ini" (section "Setting", key "Profile": the profile index) and
// Profile0.Prf (the profile record and the picture name), both in g_userDataDir.
#pragma once

#include "ProfileRecord.h"

#include <string>

namespace config {

// The per-user data folder, ending in '/'; set once at start-up by PrepareUserDataFolders.
extern std::string g_userDataDir;

std::string ConfigFilePath();
// "%sProfile%d%s" with g_userDataDir, the profile number and ".Prf".
std::string ProfileFilePath(int profile);

// The start-up load: the working copy gets the defaults, then the files, then the forced base bytes,
// the button repair and a valid profile index; the saved copy becomes a copy of it.
void InitSettingsBlock(SettingsBlock& working, SettingsBlock& saved);
// Reads "config.ini" and the profile file into the block; values that are missing or unreadable
// leave the block as it was.
void LoadSettingsFiles(SettingsBlock& block);
// The result of saving: error 0 when every value was stored; otherwise the errno of the first value
// that could not be, and its file. A value that could not be stored leaves its file's old text.
struct SaveOutcome {
    int error = 0;
    std::string failedPath;
    bool Saved() const { return error == 0; }
};

// Writes the profile index to "config.ini" and the profile record and picture name to the profile file.
SaveOutcome SaveSettingsFiles(const SettingsBlock& block);

// The profile file alone, at any path: its profile record and picture name into / out of the block
// (profile record 0). Reading leaves values that are missing or unreadable as they were.
void LoadProfileFile(const std::string& path, SettingsBlock& block);
SaveOutcome SaveProfileFile(const std::string& path, const SettingsBlock& block);

}  // namespace config
