#include "ProgramDirectory.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

TEST(ProgramDirectory, IsTheFolderOfTheRunningExecutableWithATrailingSlash) {
    const std::string folder = platform::ProgramDirectory();
    const std::string expected = std::filesystem::canonical(PLATFORM_TESTS_BINARY_DIR).string() + "/";
    EXPECT_EQ(folder, expected);
    EXPECT_TRUE(std::filesystem::is_regular_file(folder + "platform_tests"));
}

}  // namespace
