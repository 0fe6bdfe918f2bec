// The virtual controller's live terminal line: it fits the terminal, however long its text.
#include "TerminalDisplay.h"

#include <gtest/gtest.h>

#include <string>

namespace simulator::app {
namespace {

// The columns a line takes on a terminal: escape sequences take none, every UTF-8 character one.
std::size_t shownColumns(const std::string& line) {
    std::size_t columns = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\x1b') {
            i = line.find('m', i);
            if (i == std::string::npos) break;
            continue;
        }
        if ((static_cast<unsigned char>(line[i]) & 0xC0) != 0x80) ++columns;
    }
    return columns;
}

TEST(TerminalDisplay, LiveLineFitsTheColumnsItIsGiven) {
    LedColors leds{};
    leds[0] = {255, 0, 0};
    const std::string longText =
        "virtual-controller: application  fw 1.1.0  profile 0  COLOR_CYCLE  mode 0x02 \xc3\xa4\xc3\xb6\xc3\xbc";
    const struct {
        std::string text;
        std::size_t columns;
        std::size_t expected;
        bool blocks;
    } rows[] = {
        {longText, 79, 79, true},         // an 80-column terminal keeps its last column free
        {longText, 200, 19 + longText.size() - 3, true},  // room for all: the three umlauts are 2 bytes each
        {longText, 30, 30, true},
        {longText, 20, 20, false},        // no room for the LEDs: the text alone
        {longText, 0, 0, false},
        {"short", 79, 19 + 5, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::to_string(row.columns));
        const std::string line = liveStatusLine(leds, row.text, row.columns);
        EXPECT_EQ(shownColumns(line), row.expected);
        EXPECT_EQ(line.find("\x1b[38;2;255;0;0m") != std::string::npos, row.blocks);
        // A character is never cut in two: the text shown is a prefix of whole characters.
        const std::size_t textAt = row.blocks ? line.rfind("\x1b[0m ") + 5 : 0;
        const std::string shown = line.substr(textAt + (row.blocks ? 1 : 0));
        EXPECT_EQ(row.text.compare(0, shown.size(), shown), 0);
        if (!shown.empty()) {
            EXPECT_NE(static_cast<unsigned char>(shown.back()), 0xC3);
        }
    }
}

}  // namespace
}  // namespace simulator::app
