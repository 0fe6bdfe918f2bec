// Test support for the settings files: a private data folder per test, files written and read as
// raw bytes, and UTF-16LE text helpers.
#pragma once

#include "SettingsFiles.h"
#include "TemporaryFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

namespace settings_test {

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// The byte-order mark and the text as UTF-16LE.
inline std::string Utf16File(std::u16string_view text) {
    std::string bytes = "\xFF\xFE";
    for (const char16_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    return bytes;
}

// g_userDataDir points into a private folder for the test.
class DataFolderFixture : public ::testing::Test {
protected:
    void SetUp() override { config::g_userDataDir = folder_.Path() + "/"; }
    void TearDown() override { config::g_userDataDir.clear(); }

    std::string File(const std::string& name) const { return folder_.File(name); }

    platform_test::TemporaryFolder folder_;
};

}  // namespace settings_test
