// The prompt as the main window runs it, and the updater launch with its failure message.
#include "PopupWindows.h"
#include "FirmwareStatusFixture.h"

#include "FirmwarePrompt.h"
#include "SkinDocuments.h"

#include <QTest>
#include <QWidget>

namespace fwstatus_test {
namespace {

const fwstatus::UpdaterCommand kCommand{"/opt/halcyra/Tessaflash/tessaflash", {"true", "../halcyra"}};

// Runs posted events until the main window has handled its close.
bool ClosedSoon(const QWidget& window) {
    return config_test::WaitUntil([&] { return !window.isVisible(); });
}

TEST(UpdaterLaunch, StartsTheUpdaterAndClosesTheMainWindow) {
    QWidget mainWindow;
    mainWindow.show();
    LaunchRecorder recorder;
    EXPECT_TRUE(fwstatus::LaunchUpdater(&mainWindow, kCommand, recorder.Hooks()));
    ASSERT_EQ(recorder.starts.size(), 1u);
    EXPECT_EQ(recorder.starts[0].program, kCommand.program);
    EXPECT_EQ(recorder.starts[0].arguments, kCommand.arguments);
    EXPECT_TRUE(recorder.failures.empty());
    EXPECT_TRUE(ClosedSoon(mainWindow));
}

TEST(UpdaterLaunch, FailureTellsWhyAndStillClosesTheMainWindow) {
    QWidget mainWindow;
    mainWindow.show();
    LaunchRecorder recorder;
    recorder.startSucceeds = false;
    EXPECT_FALSE(fwstatus::LaunchUpdater(&mainWindow, kCommand, recorder.Hooks()));
    ASSERT_EQ(recorder.failures.size(), 1u);
    EXPECT_TRUE(recorder.failures[0].contains(kCommand.program)) << recorder.failures[0].toStdString();
    EXPECT_TRUE(recorder.failures[0].contains("could not be started")) << recorder.failures[0].toStdString();
    EXPECT_TRUE(ClosedSoon(mainWindow));
}

TEST(UpdaterLaunch, TheRealStartReportsAMissingUpdater) {
    // The platform's start on a program that does not exist: the failure path without a fake.
    QWidget mainWindow;
    fwstatus::UpdaterLaunchHooks hooks = fwstatus::DefaultUpdaterLaunchHooks();
    std::vector<QString> failures;
    hooks.reportFailure = [&](QWidget*, const QString& message) { failures.push_back(message); };
    EXPECT_FALSE(fwstatus::LaunchUpdater(&mainWindow, {"/nonexistent/Tessaflash/tessaflash", {"true", "../halcyra"}},
                                         hooks));
    EXPECT_EQ(failures.size(), 1u);
}

class FirmwarePrompt : public FirmwareStatusFixture {
protected:
    void SetUp() override {
        FirmwareStatusFixture::SetUp();
        skindocs::LoadSkinDocuments(SKIN_PROGRAM_DIR "/", "1920x1080");
    }
    void TearDown() override {
        skindocs::ResetSkinDocuments();
        FirmwareStatusFixture::TearDown();
    }

    fwstatus::PromptSetup Setup(skin::CBitmapBtn& (fwstatus::CInfoDlg::*button)()) {
        fwstatus::PromptSetup setup;
        setup.prompt.updaterProgram = Updater();
        setup.prompt.messages = &sink_;
        setup.prompt.retries = kQuickRetries;
        setup.updater = kCommand;
        setup.launch = recorder_.Hooks();
        setup.showModal = [button](fwstatus::CInfoDlg& prompt) {
            prompt.show();
            QWidget& pressed = (prompt.*button)();
            QTest::mouseClick(&pressed, Qt::LeftButton, {}, pressed.rect().center());
            return prompt.result();
        };
        setup.onUpdaterStarting = [this] { ++updaterStarting_; };
        return setup;
    }

    LaunchRecorder recorder_;
    int updaterStarting_ = 0;
};

TEST_F(FirmwarePrompt, ConfirmedUpdateLaunchesTheUpdater) {
    config::CUSBDriver& link = StartController();
    QWidget mainWindow;
    mainWindow.show();
    QWidget earlierPrompt;
    config::MarkAsWarnDlg(earlierPrompt);
    earlierPrompt.show();

    const int result = fwstatus::RunFirmwarePrompt(&mainWindow, link, Setup(&fwstatus::CInfoDlg::UpdateButton));
    EXPECT_EQ(result, fwstatus::kPromptStartUpdater);
    EXPECT_EQ(updaterStarting_, 1);
    ASSERT_EQ(recorder_.starts.size(), 1u);
    EXPECT_EQ(recorder_.starts[0].arguments, kCommand.arguments);
    EXPECT_TRUE(ClosedSoon(mainWindow));
    EXPECT_FALSE(earlierPrompt.isVisible()) << "an open prompt is closed first";
}

TEST_F(FirmwarePrompt, ClosingWithoutUpdateStartsNothing) {
    config::CUSBDriver& link = StartController({1, 1, 0});
    QWidget mainWindow;
    mainWindow.show();
    const int result = fwstatus::RunFirmwarePrompt(&mainWindow, link, Setup(&fwstatus::CInfoDlg::OkButton));
    EXPECT_EQ(result, fwstatus::kPromptContinue);
    EXPECT_TRUE(recorder_.starts.empty());
    EXPECT_EQ(updaterStarting_, 0);
    QCoreApplication::processEvents();
    EXPECT_TRUE(mainWindow.isVisible());
    EXPECT_FALSE(fwstatus::CloseOpenPrompts());
}

}  // namespace
}  // namespace fwstatus_test
