// The firmware check with the built updater's package (firmware 1.1.0, "V1.10") against the virtual
// controller, through the application link and the boot-loader link.
#include "FirmwareStatusFixture.h"

#include "UpdaterCommand.h"

namespace fwstatus_test {
namespace {

class FirmwareCheck : public FirmwareStatusFixture {};

TEST_F(FirmwareCheck, PackageAgainstControllerVersions) {
    struct Row {
        firmware::Version controller;
        bool inBootLoader;
        int expected;
        std::u16string firmwareText;  // the controller's version record agrees with its version
    };
    const Row rows[] = {
        {{1, 0, 100}, false, fwstatus::kUpdateAvailable, u"V1.00"},
        {{1, 1, 0}, false, fwstatus::kNoUpdate, u"V1.10"},
        {{1, 2, 0}, false, fwstatus::kNoUpdate, u"V1.20"},
        {{1, 0, 100}, true, fwstatus::kUpdateAvailable, u"V1.00"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(firmware::versionText(row.controller) + (row.inBootLoader ? " in boot loader" : ""));
        config::CUSBDriver& link = StartController(row.controller, row.inBootLoader);
        const fwstatus::FirmwareCheckResult check = fwstatus::CheckFirmware(link, Updater(), sink_, kQuickRetries);
        EXPECT_EQ(check.result, row.expected);
        EXPECT_EQ(check.selectedEntry, 0);
        EXPECT_EQ(check.firmwareText, row.firmwareText);
        EXPECT_EQ(check.updateText, u"V1.10");
        StopController();
    }
    EXPECT_TRUE(sink_.messages.empty());
}

TEST_F(FirmwareCheck, MissingUpdaterShowsItsMessageAndOffersNothing) {
    config::CUSBDriver& link = StartController();
    const auto check = fwstatus::CheckFirmware(link, folder_.File("Tessaflash/tessaflash"), sink_, kQuickRetries);
    EXPECT_EQ(check.result, fwstatus::kCannotTell);
    EXPECT_LT(check.selectedEntry, 0);
    EXPECT_EQ(check.updateText, u"");
    EXPECT_EQ(check.firmwareText, u"V1.00") << "the controller's records are still read";
    EXPECT_EQ(sink_.messages, std::vector{firmware::PackageMessage::CannotOpen});
}

TEST_F(FirmwareCheck, UnansweredRecordsLeaveTheEntryUnselected) {
    config::CUSBDriver& link = MakeLink();  // no controller on the bus
    EXPECT_FALSE(link.OpenDevice());
    const auto check = fwstatus::CheckFirmware(link, Updater(), sink_, kQuickRetries);
    EXPECT_EQ(check.result, fwstatus::kCannotTell);
    EXPECT_EQ(check.selectedEntry, firmware::kRecordsNotFetched);
    EXPECT_EQ(check.firmwareText, u"");
    EXPECT_EQ(check.updateText, u"V1.10");
}

// A link that is not open cannot answer: the check asks nothing and waits for nothing, so that the
// firmware tab without a controller opens its prompt at once.
TEST_F(FirmwareCheck, AClosedLinkIsNotAskedOrWaitedFor) {
    config::CUSBDriver& link = MakeLink();  // no controller on the bus
    ASSERT_FALSE(link.OpenDevice());
    int waits = 0;
    fwstatus::RecordRetries retries;  // 15 tries, 500 ms apart
    retries.wait = [&](std::chrono::milliseconds) { ++waits; };
    const auto check = fwstatus::CheckFirmware(link, Updater(), sink_, retries);
    EXPECT_EQ(waits, 0);
    EXPECT_EQ(check.result, fwstatus::kCannotTell);
    EXPECT_EQ(check.updateText, u"V1.10") << "what is known is still shown";
}

TEST(UpdaterCommand, UpdaterInTheProgramFolderRestartsTheProgram) {
    struct Row {
        std::string programDir;
        QString programName;
        fwstatus::UpdaterCommand expected;
    };
    const Row rows[] = {
        {"/opt/halcyra/", "halcyra", {"/opt/halcyra/Tessaflash/tessaflash", {"true", "../halcyra"}}},
        {"/home/a b/x/", "halcyra-dev", {"/home/a b/x/Tessaflash/tessaflash", {"true", "../halcyra-dev"}}},
        {"", "halcyra", {"Tessaflash/tessaflash", {"true", "../halcyra"}}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(fwstatus::MakeUpdaterCommand(row.programDir, row.programName), row.expected) << row.programDir;
    }
}

}  // namespace
}  // namespace fwstatus_test
