// The per-user data folder inside a private configuration folder.
#include "ScopedEnvironment.h"
#include "SettingsFiles.h"
#include "TemporaryFolder.h"
#include "UserFolder.h"

#include <filesystem>
#include <fstream>

namespace {

TEST(UserFolderTest, CreatesTheDataFolderWithItsSubfoldersAndSetsTheDataPath) {
    platform_test::TemporaryFolder folder;
    platform_test::ScopedEnvironment environment;
    const std::string home = folder.File("config-home");  // missing: created as well
    environment.Set("XDG_CONFIG_HOME", home);

    config::PrepareUserDataFolders();
    EXPECT_EQ(config::g_userDataDir, home + "/Quillon/Halcyra/");
    for (const char* sub : {"", "Macros", "Profiles", "MousePads"}) {
        EXPECT_TRUE(std::filesystem::is_directory(home + "/Quillon/Halcyra/" + sub)) << sub;
    }
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::recursive_directory_iterator(home)) ++entries;
    EXPECT_EQ(entries, 5u) << "folders only, no files";
    config::g_userDataDir.clear();
}

TEST(UserFolderTest, AFileInTheWayIsLeftAloneAndThePathStillReturned) {
    platform_test::TemporaryFolder folder;
    platform_test::ScopedEnvironment environment;
    environment.Set("XDG_CONFIG_HOME", folder.Path());
    std::ofstream(folder.File("Quillon")) << "not a folder";
    EXPECT_EQ(config::PrepareUserFolder("/Quillon/Halcyra/"), folder.Path() + "/Quillon/Halcyra/");
    EXPECT_TRUE(std::filesystem::is_regular_file(folder.File("Quillon")));
}

}  // namespace
