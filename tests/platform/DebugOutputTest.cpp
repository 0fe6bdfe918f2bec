#include "DebugOutput.h"

#include "StandardErrorCapture.h"
#include "TemporaryFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using platform_test::StandardErrorCapture;

// Diagnostics never reach a script's output unless debugging was asked for, by the programs' switch
// or by the environment variable.
TEST(DebugOutput, WritesOnlyWhenDebuggingIsAskedFor) {
    struct Row {
        const char* name;
        bool debugSwitch;
        const char* variable;   // nullptr: not set
        bool written;
    };
    const Row rows[] = {
        {"neither", false, nullptr, false},
        {"variable empty", false, "", false},
        {"variable 0", false, "0", false},
        {"variable 1", false, "1", true},
        {"switch", true, nullptr, true},
        {"switch and variable 0", true, "0", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        if (row.variable) ::setenv(platform::kDebugVariable, row.variable, 1);
        else ::unsetenv(platform::kDebugVariable);
        platform::SetDebugOutput(row.debugSwitch);
        platform_test::TemporaryFolder folder;
        StandardErrorCapture capture(folder.File("stderr"));
        platform::DebugOutput(std::string_view{"MONITOROPEN:dwDeviceID=1"});
        platform::DebugOutput(u"MONITORCLOSE:dwDeviceID=1");
        EXPECT_EQ(capture.Stop(), row.written ? "MONITOROPEN:dwDeviceID=1\nMONITORCLOSE:dwDeviceID=1\n" : "");
    }
    ::unsetenv(platform::kDebugVariable);
    platform::SetDebugOutput(false);
}

TEST(DebugOutput, WritesEachCallAsOneLine) {
    platform::SetDebugOutput(true);
    platform_test::TemporaryFolder folder;
    StandardErrorCapture capture(folder.File("stderr"));
    platform::DebugOutput(std::string_view{"03/14 09:26 App Init\r\n"});  // a log line with its CR LF
    platform::DebugOutput(std::string_view{"no line end"});
    platform::DebugOutput(std::string_view{""});
    platform::DebugOutput(std::string_view{"\r\n\n"});
    platform::DebugOutput(u"Ger\u00E4t \u20AC \U0001D11E\r\n");
    platform::DebugOutput(std::u16string{u'a', char16_t(0xD800)});
    platform::DebugOutput(u"100% %s %d");  // percent signs are text, not formats
    EXPECT_EQ(capture.Stop(),
              "03/14 09:26 App Init\n"
              "no line end\n"
              "\n"
              "\n"
              "Ger\xC3\xA4t \xE2\x82\xAC \xF0\x9D\x84\x9E\n"
              "a\xEF\xBF\xBD\n"
              "100% %s %d\n");
}

TEST(DebugOutput, LinesFromManyThreadsStayWhole) {
    constexpr int kThreads = 6;
    constexpr int kLinesPerThread = 300;
    platform::SetDebugOutput(true);
    const auto lineText = [](int thread, int line) {
        return "thread " + std::to_string(thread) + " line " + std::to_string(line) + " " + std::string(200, 'a' + thread);
    };
    platform_test::TemporaryFolder folder;
    StandardErrorCapture capture(folder.File("stderr"));
    std::vector<std::thread> writers;
    for (int t = 0; t < kThreads; ++t) {
        writers.emplace_back([t, &lineText] {
            for (int i = 0; i < kLinesPerThread; ++i) {
                const std::string text = lineText(t, i);
                if (i % 2 == 0) {
                    platform::DebugOutput(std::string_view{text});
                } else {
                    platform::DebugOutput(std::u16string(text.begin(), text.end()));
                }
            }
        });
    }
    for (std::thread& writer : writers) {
        writer.join();
    }
    std::multiset<std::string> written;
    std::istringstream lines(capture.Stop());
    for (std::string line; std::getline(lines, line);) {
        written.insert(line);
    }
    std::multiset<std::string> expected;
    for (int t = 0; t < kThreads; ++t) {
        for (int i = 0; i < kLinesPerThread; ++i) {
            expected.insert(lineText(t, i));
        }
    }
    EXPECT_EQ(written, expected);
}

}  // namespace
