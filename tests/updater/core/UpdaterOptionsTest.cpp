// The updater's command line, case by case: each row is a command line and the options it gives.
#include "UpdaterHelp.h"
#include "UpdaterOptions.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace updater {
namespace {

struct Case {
    const char* name;
    std::vector<std::string_view> arguments;  // after the program's own path
    UpdaterOptions expected;
};

UpdaterOptions forced(int entry) {
    UpdaterOptions o;
    o.forcedEntry = entry;
    return o;
}

UpdaterOptions restart(std::string path) {
    UpdaterOptions o;
    o.autoStart = true;
    o.restartPath = std::move(path);
    return o;
}

UpdaterOptions unknown(std::string word) {
    UpdaterOptions o;
    o.unknownOption = std::move(word);
    return o;
}

UpdaterOptions help() {
    UpdaterOptions o;
    o.helpRequested = true;
    return o;
}

const std::vector<Case> kCases = {
    {"nothing", {}, {}},
    {"bin0_ignored", {"bin:0"}, forced(kNoForcedEntry)},
    {"bin10_ignored", {"bin:10"}, forced(kNoForcedEntry)},
    {"bin9_entry8", {"bin:9"}, forced(8)},
    {"bin1_entry0", {"bin:1"}, forced(0)},
    {"bin_anywhere_leading_digits", {"xbin:3y"}, forced(2)},
    {"bin_no_digits", {"bin:x3"}, forced(kNoForcedEntry)},
    {"bin_long_digits_no_overflow", {"bin:99999999999999999999"}, forced(kNoForcedEntry)},
    {"invalid_bin_keeps_earlier", {"bin:4", "bin:0"}, forced(3)},
    {"silent", {"-silent"}, [] { UpdaterOptions o; o.silent = o.autoStart = true; return o; }()},
    {"silent_case_sensitive", {"-Silent"}, unknown("-Silent")},
    {"silent_whole_argument", {"-silentx"}, unknown("-silentx")},
    {"force", {"-force"}, [] { UpdaterOptions o; o.force = true; return o; }()},
    {"help_question", {"/?"}, help()},
    {"help_word", {"/help"}, help()},
    {"help_inside_argument", {"/helpme"}, help()},
    {"help_upper_case_not", {"/HELP"}, {}},
    {"gnu_help", {"--help"}, help()},
    {"gnu_short_help", {"-h"}, help()},
    {"gnu_help_beside_others", {"-silent", "--help"}, help()},
    {"gnu_silent", {"--silent"}, [] { UpdaterOptions o; o.silent = o.autoStart = true; return o; }()},
    {"gnu_force", {"--force"}, [] { UpdaterOptions o; o.force = true; return o; }()},
    {"gnu_version", {"--version"}, [] { UpdaterOptions o; o.versionRequested = true; return o; }()},
    {"gnu_forms_whole_only", {"--helpx", "--silently", "-hh", "--Force"}, unknown("--helpx")},
    // A word starting with "-" that no form knows is named (the first one), whatever else is given.
    {"unknown_single_dash_help", {"-help"}, unknown("-help")},
    {"unknown_short_version", {"-V"}, unknown("-V")},
    {"unknown_lone_dash", {"-"}, unknown("-")},
    {"unknown_beside_silent", {"-silent", "-x", "-y"},
     [] { UpdaterOptions o = unknown("-x"); o.silent = o.autoStart = true; return o; }()},
    {"bin_with_dash_is_known", {"-bin:2"}, forced(1)},
    {"words_without_dash_still_ignored", {"update", "now"}, {}},
    {"restart_path_with_dash_is_no_option", {"true", "-halcyra"}, restart("-halcyra")},
    {"true_last_no_path", {"true"}, restart("")},
    {"true_path_lower_case", {"true", "../Halcyra"}, restart("../halcyra")},
    {"true_backslash_path", {"true", "..\\Halcyra.exe"}, restart("..\\halcyra.exe")},
    {"true_case_sensitive", {"TRUE", "x"}, {}},
    {"argument_after_true_checked_too", {"true", "-force"},
     [] { UpdaterOptions o = restart("-force"); o.force = true; return o; }()},
};

class OptionsTable : public ::testing::TestWithParam<Case> {};

TEST_P(OptionsTable, GivesTheExpectedOptions) {
    std::vector<std::string_view> line{"/opt/halcyra/Tessaflash/tessaflash"};
    line.insert(line.end(), GetParam().arguments.begin(), GetParam().arguments.end());
    EXPECT_EQ(parseUpdaterOptions(line), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Updater, OptionsTable, ::testing::ValuesIn(kCases),
                         [](const auto& row) { return std::string(row.param.name); });

// "/" separates folders here: an updater installed under a folder named "help..." (or holding "/?")
// still updates, whatever follows its path.
TEST(UpdaterOptions, TheProgramPathNeverAsksForHelp) {
    for (const std::string_view program : {"/tmp/help/tessaflash", "/opt/helpers/Tessaflash/tessaflash", "/srv/a/?/tessaflash"}) {
        SCOPED_TRACE(program);
        const std::vector<std::string_view> alone{program};
        EXPECT_FALSE(parseUpdaterOptions(alone).helpRequested);
        const std::vector<std::string_view> withArguments{program, "true", "../halcyra"};
        const UpdaterOptions options = parseUpdaterOptions(withArguments);
        EXPECT_FALSE(options.helpRequested);
        EXPECT_EQ(options, restart("../halcyra"));
    }
}

TEST(UpdaterHelp, WritesTheSixLinesInOrder) {
    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    ASSERT_TRUE(writeHelp(file));
    std::rewind(file);
    std::string written;
    for (int c; (c = std::fgetc(file)) != EOF;) written.push_back(static_cast<char>(c));
    std::fclose(file);
    EXPECT_EQ(written,
              "\n\nMarovell Tessaflash V1.00\n/?  \t\t:help Info\n"
              "bin:  \t\t:force to update the bin(layout),\n\t\t but still check the version. ex: bin:2\n"
              "-silent  \t:don't show ui and auto to update fw\n-force  \t:force to update fw (Ignore Ver)\n"
              "\n\nPlease press enter key to end\n");
}

}  // namespace
}  // namespace updater
