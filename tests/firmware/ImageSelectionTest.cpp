#include "firmware/ImageSelection.h"

#include <gtest/gtest.h>

#include <map>

namespace firmware {
namespace {

constexpr Signature kSignature = {'H', 'W', '-', '1'};

// A package with images at the given entries (index -> layout id); the others stay empty.
FirmwareInfoBlock package(const std::map<std::size_t, std::uint16_t>& layouts, std::uint16_t emptyLayout = 0) {
    FirmwareInfoBlock info{};
    std::copy(kSignature.begin(), kSignature.end(), info.signature);
    for (auto& entry : info.entries) entry.layoutId = emptyLayout;
    for (const auto& [index, layout] : layouts) {
        info.entries[index].imageBytes = 100;
        info.entries[index].layoutId = layout;
    }
    return info;
}

FwInfo controller(std::uint16_t layout, Signature signature = kSignature) {
    FwInfo info;
    info.signature = signature;
    info.layoutId = layout;
    return info;
}

TEST(SelectImage, ChoosesByLayoutOrForcedNumberAndNeverAnEmptyEntry) {
    const struct {
        const char* name;
        FirmwareInfoBlock info;
        FwInfo fw;
        int forced;
        int expected;
    } rows[] = {
        {"only entry 0, matching", package({{0, 7}}), controller(7), kNotForced, 0},
        {"first of two matching", package({{2, 7}, {5, 7}}), controller(7), kNotForced, 2},
        {"empty entries with the layout are skipped", package({{3, 7}}, 7), controller(7), kNotForced, 3},
        {"no layout fits", package({{0, 1}, {1, 2}}), controller(7), kNotForced, kNoEntryFits},
        {"no images at all", package({}, 7), controller(7), kNotForced, kNoEntryFits},
        {"signature differs", package({{0, 7}}), controller(7, {'H', 'W', '-', '2'}), kNotForced, kSignatureDiffers},
        {"signature differs in the last byte", package({{0, 7}}),
         controller(7, {'H', 'W', '-', '1', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}), kNotForced, kSignatureDiffers},
        {"forced 2 takes entry 1 whatever its layout", package({{0, 7}, {1, 9}}), controller(7), 2, 1},
        {"forced 9 takes entry 8", package({{8, 1}}), controller(7), 9, 8},
        {"forced to an empty entry", package({{0, 7}}, 7), controller(7), 4, kNoEntryFits},
        {"forced with another signature", package({{1, 7}}), controller(7, {}), 2, kSignatureDiffers},
        {"0 forces nothing", package({{4, 7}}), controller(7), 0, 4},
        {"10 forces nothing", package({{4, 7}}), controller(7), 10, 4},
    };
    for (const auto& row : rows) EXPECT_EQ(selectImage(row.info, row.fw, row.forced), row.expected) << row.name;
}

// A layout name is shown only for a selected entry: no controller, a signature that does not fit or a
// layout without an image shows none.
TEST(SelectImage, ShownLayoutIsTheSelectedEntryOnly) {
    const FirmwareInfoBlock info = package({{2, 1}, {6, 2}});
    EXPECT_EQ(shownLayoutEntry(info, 6), 6u);
    for (const int selected : {kNoEntryFits, kSignatureDiffers, kRecordsNotFetched, 0, 9})
        EXPECT_EQ(shownLayoutEntry(info, selected), std::nullopt) << selected;
    EXPECT_EQ(shownLayoutEntry(package({}), kSignatureDiffers), std::nullopt);
}

TEST(CompareVersions, MajorThenMinorThenBuildEachUnsigned) {
    const struct {
        Version entry;
        Version target;
        bool newer;
    } rows[] = {
        {{1, 0, 101}, {1, 0, 100}, true},
        {{1, 0, 100}, {1, 0, 100}, false},
        {{1, 0, 99}, {1, 0, 100}, false},
        {{1, 1, 0}, {1, 0, 999999}, true},
        {{1, 0, 999999}, {1, 1, 0}, false},
        {{2, 0, 0}, {1, 255, 0xFFFFFFFF}, true},
        {{1, 0, 0x80000000}, {1, 0, 1}, true},       // the build is unsigned
        {{0x80, 0, 0}, {0x7F, 0, 0}, true},          // so are major and minor
        {{9, 9, 9}, {0xFF, 0xFF, 0}, false},         // a target without a valid version reads as highest
    };
    for (const auto& row : rows) {
        FirmwareImageEntry entry{};
        entry.versionMajor = row.entry.major;
        entry.versionMinor = row.entry.minor;
        entry.versionBuild = row.entry.build;
        EXPECT_EQ(isNewer(entry, row.target), row.newer)
            << versionText(row.entry) << " vs " << int(row.target.major) << "." << int(row.target.minor) << "."
            << row.target.build;
    }
}

}  // namespace
}  // namespace firmware
