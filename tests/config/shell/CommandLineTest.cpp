#include "CommandLine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct CommandLineCase {
    std::vector<std::string> words;
    config::StartupOptions expected;
};

config::StartupOptions Options(bool restarted, bool deviceRequired, bool debug, std::uint32_t language, int resolution) {
    return {restarted, deviceRequired, debug, language, resolution};
}

TEST(CommandLine, EveryWordOfTheTable) {
    const config::StartupOptions none = Options(false, true, false, 255, -1);
    const std::vector<CommandLineCase> cases = {
        {{}, none},
        {{"true"}, Options(true, true, false, 255, -1)},
        {{"True"}, Options(true, true, false, 255, -1)},
        {{"DEBUG"}, Options(false, true, true, 255, -1)},
        {{"NoDev"}, Options(false, false, false, 255, -1)},
        {{"true", "nodev"}, Options(true, false, false, 255, -1)},
        {{"ui:1"}, Options(false, true, false, 255, 1)},
        {{"ui:"}, Options(false, true, false, 255, 0)},
        {{"ui:abc"}, Options(false, true, false, 255, 0)},
        {{"ui:7"}, Options(false, true, false, 255, 7)},
        {{"ui:-1"}, Options(false, true, false, 255, -1)},
        {{"UI:+2x"}, Options(false, true, false, 255, 2)},
        {{"xui:0"}, Options(false, true, false, 255, 0)},
        {{"ui:3ui:1"}, Options(false, true, false, 255, 3)},  // the text after the first "ui:"
        {{"ui:99999999999"}, Options(false, true, false, 255, 2147483647)},
        {{"ui:1", "ui:0"}, Options(false, true, false, 255, 0)},
        {{"en"}, Options(false, true, false, 0, -1)},
        {{"CS"}, Options(false, true, false, 8, -1)},
        {{"ct"}, Options(false, true, false, 11, -1)},
        {{"Japan"}, Options(false, true, false, 4, -1)},
        {{"indonesia"}, Options(false, true, false, 15, -1)},
        {{"arabic"}, Options(false, true, false, 13, -1)},
        {{"korean"}, Options(false, true, false, 5, -1)},
        {{"korean", "en"}, Options(false, true, false, 0, -1)},
        {{"english", "truex", "-debug", ""}, none},
    };
    for (const CommandLineCase& test : cases) {
        const config::StartupOptions got = config::ParseCommandLine(test.words);
        std::string words;
        for (const std::string& word : test.words) words += '"' + word + "\" ";
        EXPECT_EQ(got.restartedAfterUpdate, test.expected.restartedAfterUpdate) << words;
        EXPECT_EQ(got.deviceRequired, test.expected.deviceRequired) << words;
        EXPECT_EQ(got.debug, test.expected.debug) << words;
        EXPECT_EQ(got.languageCode, test.expected.languageCode) << words;
        EXPECT_EQ(got.resolutionIndex, test.expected.resolutionIndex) << words;
    }
}

TEST(CommandLine, ResolutionFolderFromIndexOrScreenWidth) {
    struct Case {
        int index;
        int width;
        const char* folder;
    };
    const Case cases[] = {
        {-1, 3840, "1920x1080/"}, {-1, 1921, "1920x1080/"}, {-1, 1920, "1366x768/"}, {-1, 1367, "1366x768/"},
        {-1, 1366, "960x540/"},   {-1, 800, "960x540/"},    {-1, 0, "960x540/"},     {0, 800, "1920x1080/"},
        {1, 3840, "1366x768/"},   {2, 3840, "960x540/"},    {7, 3840, "960x540/"},   {-2, 3840, "960x540/"},
    };
    for (const Case& test : cases) {
        EXPECT_EQ(config::ResolutionFolder(test.index, test.width), test.folder)
            << "index " << test.index << " width " << test.width;
    }
}

}  // namespace
