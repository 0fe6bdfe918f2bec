#include "CommandLine.h"

#include "ScopedEnvironment.h"

#include <gtest/gtest.h>

namespace {

// The state folder comes from $XDG_STATE_HOME, else from $HOME; a relative value names no folder of the
// person (it would follow whatever folder the controller was started in) and is passed over.
TEST(VirtualControllerCommandLine, TheStateFolderIsTheAbsoluteStateHome) {
    const struct {
        const char* stateHome;
        const char* home;
        const char* expected;
    } rows[] = {
        {"/s", "/h", "/s/halcyra/virtual-controller"},
        {"", "/h", "/h/.local/state/halcyra/virtual-controller"},
        {"relative/state", "/h", "/h/.local/state/halcyra/virtual-controller"},
        {"relative/state", "relative-home", nullptr},  // no folder at all: the command line has to name one
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.stateHome) + "|" + row.home);
        platform_test::ScopedEnvironment environment;
        environment.Set("XDG_STATE_HOME", row.stateHome);
        environment.Set("HOME", row.home);
        const auto parsed = simulator::app::parseCommandLine({"--bus", "/b"});
        if (row.expected == nullptr) {
            EXPECT_FALSE(parsed.options);
            EXPECT_NE(parsed.error.find("no state folder"), std::string::npos) << parsed.error;
            continue;
        }
        ASSERT_TRUE(parsed.options) << parsed.error;
        EXPECT_EQ(parsed.options->stateFolder, row.expected);
    }
}

}  // namespace
