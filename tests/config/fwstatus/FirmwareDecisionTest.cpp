// The decisions on a controller's firmware, as tables.
#include "FirmwareDecision.h"

#include "firmware/ImageSelection.h"

#include <gtest/gtest.h>

namespace {

using fwstatus::ControllerMode;
using fwstatus::PromptDecision;

firmware::FirmwareInfoBlock PackageWithEntry0(std::uint8_t major, std::uint8_t minor, std::uint32_t build) {
    firmware::FirmwareInfoBlock package{};
    package.entries[0].imageBytes = 1024;
    package.entries[0].versionMajor = major;
    package.entries[0].versionMinor = minor;
    package.entries[0].versionBuild = build;
    return package;
}

TEST(FirmwareDecision, CompareTable) {
    struct Row {
        int selected;
        firmware::Version controller;
        int expected;
    };
    const auto package = PackageWithEntry0(1, 1, 0);
    const Row rows[] = {
        {firmware::kRecordsNotFetched, {1, 0, 100}, fwstatus::kCannotTell},
        {firmware::kSignatureDiffers, {1, 0, 100}, fwstatus::kCannotTell},
        {firmware::kNoEntryFits, {1, 0, 100}, fwstatus::kCannotTell},
        {9, {1, 0, 100}, fwstatus::kCannotTell},  // beyond the entries
        {0, {0xFF, 0xFF, 0}, fwstatus::kNoUpdate},
        {0, {1, 0, 100}, fwstatus::kUpdateAvailable},
        {0, {0, 9, 9999}, fwstatus::kUpdateAvailable},
        {0, {1, 1, 0}, fwstatus::kNoUpdate},
        {0, {1, 1, 1}, fwstatus::kNoUpdate},
        {0, {1, 2, 0}, fwstatus::kNoUpdate},
        {0, {2, 0, 0}, fwstatus::kNoUpdate},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(fwstatus::CompareFirmware(row.selected, package, row.controller), row.expected)
            << "entry " << row.selected << ", controller " << firmware::versionText(row.controller);
    }
    // The build decides when major and minor are equal.
    EXPECT_EQ(fwstatus::CompareFirmware(0, PackageWithEntry0(1, 0, 101), {1, 0, 100}), fwstatus::kUpdateAvailable);
    // A controller without a valid version is never offered an update, even by a package that would
    // count as newer.
    EXPECT_EQ(fwstatus::CompareFirmware(0, PackageWithEntry0(0xFF, 0xFF, 5), {0xFF, 0xFF, 0}), fwstatus::kNoUpdate);
}

TEST(FirmwareDecision, PromptOnArrivalTable) {
    struct Row {
        ControllerMode mode;
        int check;
        bool startedByUpdater;
        PromptDecision expected;
    };
    const Row rows[] = {
        {ControllerMode::Application, fwstatus::kUpdateAvailable, false, PromptDecision::Mandatory},
        {ControllerMode::Application, fwstatus::kNoUpdate, false, PromptDecision::None},
        {ControllerMode::Application, fwstatus::kCannotTell, false, PromptDecision::None},
        {ControllerMode::Application, fwstatus::kNoUpdate, true, PromptDecision::Mandatory},
        {ControllerMode::Application, fwstatus::kCannotTell, true, PromptDecision::Mandatory},
        {ControllerMode::BootLoader, fwstatus::kNoUpdate, false, PromptDecision::AtOnce},
        {ControllerMode::BootLoader, fwstatus::kCannotTell, false, PromptDecision::AtOnce},
        {ControllerMode::BootLoader, fwstatus::kUpdateAvailable, false, PromptDecision::AtOnce},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(fwstatus::DecidePrompt(row.mode, row.check, row.startedByUpdater), row.expected)
            << "boot loader " << (row.mode == ControllerMode::BootLoader) << ", check " << row.check
            << ", started by updater " << row.startedByUpdater;
    }
}

TEST(FirmwareDecision, PromptButtonsTable) {
    struct Row {
        int check;
        int selected;
        fwstatus::PromptButtons expected;
    };
    const Row rows[] = {
        {fwstatus::kUpdateAvailable, 0, {.updateEnabled = true, .okEnabled = false, .updateRequired = true}},
        {fwstatus::kNoUpdate, 0, {.updateEnabled = true, .okEnabled = true, .updateRequired = false}},
        // A controller reporting no valid version, with no image selected.
        {fwstatus::kNoUpdate, firmware::kNoEntryFits, {.updateEnabled = false, .okEnabled = true, .updateRequired = false}},
        {fwstatus::kCannotTell, firmware::kRecordsNotFetched,
         {.updateEnabled = false, .okEnabled = true, .updateRequired = false}},
        {fwstatus::kCannotTell, firmware::kSignatureDiffers,
         {.updateEnabled = false, .okEnabled = true, .updateRequired = false}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(fwstatus::PromptButtonsFor(row.check, row.selected), row.expected)
            << "check " << row.check << ", entry " << row.selected;
    }
}

TEST(FirmwareDecision, PromptResultsTable) {
    EXPECT_EQ(fwstatus::CloseResult(true), fwstatus::kPromptLeave);
    EXPECT_EQ(fwstatus::CloseResult(false), fwstatus::kPromptContinue);

    struct Row {
        ControllerMode mode;
        int result;
        bool ends;
    };
    const Row rows[] = {
        {ControllerMode::Application, fwstatus::kPromptContinue, false},
        {ControllerMode::Application, fwstatus::kPromptLeave, true},
        {ControllerMode::Application, fwstatus::kPromptStartUpdater, true},
        {ControllerMode::BootLoader, fwstatus::kPromptContinue, true},
        {ControllerMode::BootLoader, fwstatus::kPromptLeave, true},
        {ControllerMode::BootLoader, fwstatus::kPromptStartUpdater, true},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(fwstatus::PromptEndsProgram(row.mode, row.result), row.ends)
            << "boot loader " << (row.mode == ControllerMode::BootLoader) << ", result " << row.result;
    }
}

}  // namespace
