// The main window's flows, one test each, on the generated skin against the virtual controller: start
// with and without a controller, the no-device warning, the arrival read, event reports, apply, the
// unsaved-changes question, the firmware prompt and the updater start, and the hand-back on exit.
#include "MainWindowFixture.h"

#include "InfoDlg.h"
#include "LightingCodes.h"
#include "LedTargets.h"
#include "LightingTransfer.h"
#include "LinkMessages.h"
#include "SkinKeys.h"
#include "WarnDlg.h"
#include "WindowMessage.h"
#include "XmlDocument.h"
#include "XmlTextConversion.h"

#include <QAccessible>
#include <QFont>
#include <QFontInfo>
#include <QThread>

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

#include <fstream>
#include <iterator>

namespace mainwindow_test {
namespace {

using config::CConfigDlg;
using config::CWarnDlg;
using config::SettingsBlock;

// The lighting of profile 0 as the controller returns it, read through `link`.
config::LightingSection ReadBack(config::CUSBDriver& link) {
    auto block = std::make_unique<SettingsBlock>();
    block->profiles[0].Reset();
    config::CLightingTransfer transfer(link, *block);
    EXPECT_EQ(transfer.ReadProfileLighting(0), 0);
    return block->profiles[0].lighting;
}

std::string FileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

bool StartsWithUtf16Mark(const std::string& path) {
    const std::string bytes = FileBytes(path);
    return bytes.size() > 2 && static_cast<unsigned char>(bytes[0]) == 0xFF && static_cast<unsigned char>(bytes[1]) == 0xFE;
}

// Runs `seen` for every event of one type that reaches the objects it filters.
class EventProbe : public QObject {
public:
    EventProbe(QEvent::Type type, std::function<void()> seen) : type_(type), seen_(std::move(seen)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == type_) seen_();
        return QObject::eventFilter(watched, event);
    }

private:
    QEvent::Type type_;
    std::function<void()> seen_;
};

using FlowTest = MainWindowFixture;

TEST_F(FlowTest, NoControllerWarnsAndTheArrivalClosesTheWarningAndReadsTheController) {
    CConfigDlg window(Setup());
    int warnings = 0;
    const int result = Run(window, [&] {
        // The warning runs its own loop: what happens while it shows is done from inside it.
        WhenShown<CWarnDlg>(&window, [&](CWarnDlg& warning) {
            ++warnings;
            EXPECT_TRUE(window.WarningShown());
            EXPECT_EQ(warning.MessageSection(), "NO_KEYBOARD");
            // A removal notice while the warning shows does not end the program.
            platform::PostWindowMessage(&window, config::WM_DEVICE_PLUG, 0, 0);
            QTest::qWait(100);
            EXPECT_TRUE(window.isVisible());
            // The arrival reads the controller under the loading pop-up and closes the warning.
            StartController();
        });
        ASSERT_TRUE(WaitUntil([&] { return warnings == 1 && window.ArrivalsRead() == 1; }));
        ASSERT_TRUE(Idle(window));
        EXPECT_EQ(VisibleWindow<CWarnDlg>(), nullptr);
        EXPECT_TRUE(window.isVisible());
        // The working copy holds what the controller holds, and nothing counts as changed.
        const auto& lighting = window.WorkingCopy().profiles[0].lighting;
        EXPECT_EQ(lighting.SelectEffect(),
                  config::EffectListIndexOfCode(controller_->state().stored.current().activeEffect[0]));
        EXPECT_FALSE(window.HasUnsavedChanges());
        Click(window.CloseButton());
    });
    EXPECT_EQ(warnings, 1);
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_TRUE(recorded_.messages.empty());
}

TEST_F(FlowTest, TheWindowHandsTheControllerBackWhenItIsDestroyed) {
    StartController();
    SetControllerMode(7);
    {
        CConfigDlg window(Setup());
        Run(window, [&] {
            ASSERT_TRUE(WaitUntil([&] { return window.ArrivalsRead() == 1; }));
            ASSERT_TRUE(Idle(window));
            Click(window.CloseButton());
        });
    }
    EXPECT_EQ(ControllerMode(), 0);
    EXPECT_EQ(controller_->state().live.currentProfile, 0);
}

TEST_F(FlowTest, ClosingTheNoDeviceWarningWithoutControllerEndsTheProgram) {
    CConfigDlg window(Setup());
    bool closedByItself = false;
    Run(window, [&] {
        WhenShown<CWarnDlg>(&window, [](CWarnDlg& warning) { Click(warning.CloseButton()); });
        closedByItself = WaitUntil([&] { return !window.isVisible(); });
    });
    EXPECT_TRUE(closedByItself);
}

TEST_F(FlowTest, NodevStaysOpenWithoutControllerAndUnplugNeverClosesIt) {
    CConfigDlg window(Setup({"NoDev"}));
    Run(window, [&] {
        QTest::qWait(300);
        EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowSystemMenuHint)) << "its own buttons stand for it";
        EXPECT_EQ(VisibleWindow<CWarnDlg>(), nullptr);
        EXPECT_TRUE(window.isVisible());
        simulator::VirtualController& controller = StartController();
        ASSERT_TRUE(WaitUntil([&] { return window.ArrivalsRead() == 1; }));
        ASSERT_TRUE(Idle(window));
        controller.unplug();
        ASSERT_TRUE(WaitUntil([&] { return !window.ControllerLink().IsOpen(); }));
        QTest::qWait(200);
        EXPECT_TRUE(window.isVisible());
        Click(window.CloseButton());
    });
}

// The program's own faces are registered during the window's set-up, before it is first shown, and only
// while the window exists: its captions are drawn in them from the first paint on.
TEST_F(FlowTest, TheProgramsOwnFacesServeTheWindowFromItsFirstPaintUntilItGoes) {
    const auto resolvedFamily = [] {
        QFont font(QStringLiteral("Heroic Condensed"));
        font.setPixelSize(14);
        return QFontInfo(font).family().toStdString();
    };
    EXPECT_NE(resolvedFamily(), "Heroic Condensed") << "the system has no such face";
    {
        CConfigDlg window(Setup({"NoDev"}));
        Run(window, [&] {
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
            EXPECT_EQ(resolvedFamily(), "Heroic Condensed");
            Click(window.CloseButton());
        });
    }
    EXPECT_NE(resolvedFamily(), "Heroic Condensed");
}

// Gives the loaded skin's LED page the top row `top` (its SUB_DLG record).
void PlaceLedPage(std::u16string_view top) {
    xml::CXmlDocument& records = skindocs::ButtonDocument();
    std::u16string text = records.Text();
    const std::u16string_view open = u"<SUB_DLG>";
    const std::size_t from = text.find(open);
    ASSERT_NE(from, std::u16string::npos);
    const std::size_t to = text.find(u'<', from + open.size());
    ASSERT_NE(to, std::u16string::npos);
    text.replace(from + open.size(), to - from - open.size(), top);
    records.SetText(std::move(text));
}

// A skin may place the LED page as far from the window as a number goes: the window opens, keeps the
// whole of its background, which the page does not cover, and closes.
TEST_F(FlowTest, ALedPagePlacedFarOutsideTheWindowLeavesItsBackgroundWhole) {
    for (const std::u16string_view top : {u"2147483647", u"2147483000", u"-2147483648", u"-2147483000"}) {
        const std::string name = xml::Utf16ToUtf8(top);
        config::ConfigDlgSetup setup = Setup({"NoDev"});
        setup.loadSkinSet = [top](const std::string& folder) {
            config::LoadSkinSetFrom(SKIN_PROGRAM_DIR "/", folder);
            PlaceLedPage(top);
        };
        CConfigDlg window(std::move(setup));
        Run(window, [&] {
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&window)) << name;
            EXPECT_EQ(window.SubPageTop(), std::stoi(name)) << name;
            EXPECT_FALSE(window.BackgroundPicture().isNull()) << name;
            Click(window.CloseButton());
        });
    }
}

// Under the LED page the window shows the page's own paint while the page is shown, and the page's
// background while it is hidden: whichever of the two draws those rows.
TEST_F(FlowTest, TheRowsUnderTheLedPageShowThePageShownOrHidden) {
    CConfigDlg window(Setup({"NoDev"}));
    Run(window, [&] {
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        auto& page = window.LedPage();
        const QRect under(QPoint(0, window.SubPageTop()), page.size());
        ASSERT_TRUE(window.rect().contains(under));
        const QImage shownPage = page.grab().toImage().convertToFormat(QImage::Format_RGB32);
        EXPECT_TRUE(window.grab(under).toImage().convertToFormat(QImage::Format_RGB32) == shownPage) << "shown";

        page.hide();
        const QImage background = page.BackgroundPicture().convertToFormat(QImage::Format_RGB32);
        EXPECT_TRUE(window.grab(under).toImage().convertToFormat(QImage::Format_RGB32) == background) << "hidden";
        page.show();

        // A page shorter than its picture leaves the picture's last rows to the window.
        const int kept = under.height() - 40;
        page.resize(under.width(), kept);
        const QRect below(under.left(), under.top() + kept, under.width(), 40);
        EXPECT_TRUE(window.grab(below).toImage().convertToFormat(QImage::Format_RGB32) ==
                    background.copy(0, kept, under.width(), 40))
            << "shorter";
        page.resize(under.size());
        Click(window.CloseButton());
    });
}

TEST_F(FlowTest, UnpluggingTheControllerEndsTheProgram) {
    simulator::VirtualController& controller = StartController();
    CConfigDlg window(Setup());
    bool closed = false;
    Run(window, [&] {
        ASSERT_TRUE(WaitUntil([&] { return window.ArrivalsRead() == 1; }));
        ASSERT_TRUE(Idle(window));
        controller.unplug();
        closed = WaitUntil([&] { return !window.isVisible(); });
    });
    EXPECT_TRUE(closed);
}

TEST_F(FlowTest, TheControllerButtonChangesTheEffectWithoutMakingCloseAsk) {
    simulator::VirtualController& controller = StartController();
    CConfigDlg window(Setup());
    Run(window, [&] {
        ASSERT_TRUE(WaitUntil([&] { return window.ArrivalsRead() == 1; }));
        ASSERT_TRUE(Idle(window));
        const int before = window.WorkingCopy().profiles[0].lighting.SelectEffect();
        // The button steps through the controller's effect list from the effect it shows; press until
        // it shows another effect than the working copy holds.
        const auto shown = [&] {
            return static_cast<int>(config::EffectListIndexOfCode(controller.state().live.current().activeEffect[0]));
        };
        int expected = before;
        for (int press = 0; press < 8 && expected == before; ++press) {
            const int previous = shown();
            controller.pressEffectButton();
            ASSERT_TRUE(WaitUntil([&] { return shown() != previous; }));
            expected = shown();
        }
        ASSERT_NE(expected, before);
        ASSERT_TRUE(WaitUntil([&] { return window.WorkingCopy().profiles[0].lighting.SelectEffect() == expected; }));
        EXPECT_EQ(window.LedPage().CurrentEffect(), expected) << "the page shows the new effect";
        EXPECT_FALSE(window.HasUnsavedChanges());
        Click(window.CloseButton());
        EXPECT_TRUE(WaitUntil([&] { return !window.isVisible(); })) << "closed without a question";
    });
}

TEST_F(FlowTest, ApplyWritesTheFilesThenTheControllerBehindTheProgressPane) {
    StartController();
    auto written = std::make_unique<SettingsBlock>();
    {
        CConfigDlg window(Setup());
        bool buttonsHiddenDuringWrite = false;
        bool filesWrittenFirst = false;
        int progressShown = 0;
        Run(window, [&] {
            ASSERT_TRUE(WaitUntil([&] { return window.ArrivalsRead() == 1; }));
            ASSERT_TRUE(Idle(window));
            config::LightingSection& lighting = window.WorkingCopy().profiles[0].lighting;
            lighting.SetSelectEffect(2);
            lighting.baseLayer.SetColor(config::layer_field::STATIC_COLOR, 0x00123456);
            ASSERT_TRUE(window.HasUnsavedChanges());
            EXPECT_FALSE(window.ProgressPane().isVisible()) << "the pane shows only while the controller is written";
            EXPECT_TRUE(window.ApplyButton().isVisible());

            // The pane paints its progress while the device write runs: by then both files are on
            // disk and the buttons are gone. The write lets only window messages through, so the
            // pane's own paint is where to look.
            EventProbe probe(QEvent::Paint, [&] {
                if (!window.ProgressPane().isVisible()) return;
                ++progressShown;
                buttonsHiddenDuringWrite = !window.ApplyButton().isVisible() && !window.CloseButton().isVisible() &&
                                           !window.MinimiseButton().isVisible() && !window.TabButton(0).isVisible();
                filesWrittenFirst = StartsWithUtf16Mark(config::ConfigFilePath()) &&
                                    StartsWithUtf16Mark(config::ProfileFilePath(0));
            });
            window.ProgressPane().installEventFilter(&probe);
            Click(window.ApplyButton());
            ASSERT_TRUE(WaitUntil([&] { return progressShown > 0 && !window.IsBusy(); }));
            window.ProgressPane().removeEventFilter(&probe);
            EXPECT_FALSE(window.ProgressPane().isVisible());
            EXPECT_TRUE(window.ApplyButton().isVisible());
            EXPECT_TRUE(window.TabButton(2).isVisible());
            EXPECT_FALSE(window.HasUnsavedChanges());
            EXPECT_TRUE(recorded_.messages.empty());
            *written = window.WorkingCopy();
            Click(window.CloseButton());
        });
        EXPECT_TRUE(buttonsHiddenDuringWrite);
        EXPECT_TRUE(filesWrittenFirst);
    }
    // The controller stored what the working copy held.
    EXPECT_EQ(controller_->state().stored, controller_->state().live);
    config::CUSBDriver& link = MakeLink();
    ASSERT_TRUE(link.OpenDevice());
    const config::LightingSection readBack = ReadBack(link);
    const config::LightingSection& expected = written->profiles[0].lighting;
    EXPECT_EQ(readBack.SelectEffect(), 2);
    EXPECT_EQ(readBack.baseLayer.Color(config::layer_field::STATIC_COLOR), 0x00123456u);
    EXPECT_EQ(readBack.baseLayer, expected.baseLayer);
    EXPECT_EQ(readBack.multiLayer, expected.multiLayer);
    // And the files hold it too.
    auto loaded = std::make_unique<SettingsBlock>();
    loaded->profiles[0].Reset();
    config::LoadSettingsFiles(*loaded);
    EXPECT_EQ(loaded->profiles[0].lighting.SelectEffect(), 2);
    EXPECT_EQ(loaded->profiles[0].lighting.baseLayer, expected.baseLayer);
}

TEST_F(FlowTest, ApplyWithAnUnwritableSettingsFileTellsThePersonAndStillWritesTheController) {
    StartController();
    CConfigDlg window(Setup());
    Run(window, [&] {
        ASSERT_TRUE(WaitUntil([&] { return window.ArrivalsRead() == 1; }));
        ASSERT_TRUE(Idle(window));
        // A folder where the profile file should be: it cannot be replaced.
        std::filesystem::create_directory(config::ProfileFilePath(0));
        window.WorkingCopy().profiles[0].lighting.SetSelectEffect(4);
        Click(window.ApplyButton());
        ASSERT_TRUE(WaitUntil([&] { return controller_->state().stored.current().activeEffect[0] ==
                                           config::kEffectList[4].code && !window.IsBusy(); }));
        ASSERT_EQ(recorded_.messages.size(), 1u);
        EXPECT_TRUE(recorded_.messages[0].contains(QString::fromStdString(config::ProfileFilePath(0))))
            << recorded_.messages[0].toStdString();
        Click(window.CloseButton());
    });
}

TEST_F(FlowTest, ApplyTellsForAMomentWhetherTheControllerTookTheSettings) {
    struct Case {
        const char* name;
        std::optional<simulator::FaultRule> refusal;  // the controller refuses one command of the write
        std::u16string_view notice;
    };
    constexpr std::uint8_t kWrite = 0x51, kEffectParams = 0x2C, kProfileControl = 0x50, kStore = 0x55;
    // The refusals come first: each stays until the next apply replaces it.
    const Case cases[] = {
        {"store refused",
         simulator::FaultRule{.kind = simulator::FaultKind::ErrorReply, .command = kProfileControl, .key = kStore, .times = 1},
         skindocs::keys::kStrApplyFailed},
        {"effect refused",
         simulator::FaultRule{.kind = simulator::FaultKind::ErrorReply, .command = kWrite, .key = kEffectParams, .times = 1},
         skindocs::keys::kStrApplyFailed},
        {"taken", std::nullopt, skindocs::keys::kStrApplied},
    };
    StartController();
    CConfigDlg window(Setup());
    Run(window, [&] {
        ASSERT_TRUE(WaitUntil([&] { return window.ArrivalsRead() == 1; }));
        ASSERT_TRUE(Idle(window));
        const config::ApplyNotice& notice = window.ApplyOutcome();
        EXPECT_FALSE(notice.isVisible()) << "nothing to tell before an apply";
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            if (c.refusal) controller_->addFault(*c.refusal);
            const QString expected =
                QString::fromStdU16String(xml::LookupValue(skindocs::StringDocument(), skindocs::keys::kMain, c.notice));
            EXPECT_FALSE(expected.isEmpty());
            const auto started = std::chrono::steady_clock::now();
            Click(window.ApplyButton());
            ASSERT_TRUE(WaitUntil([&] { return !window.IsBusy() && notice.isVisible() && notice.text() == expected; }));
            // A screen reader reads the same text from the label, and as a notification it says it
            // when it appears, wherever the focus is.
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(const_cast<config::ApplyNotice*>(&notice));
            ASSERT_NE(accessible, nullptr);
            EXPECT_EQ(accessible->text(QAccessible::Name).toStdString(), expected.toStdString());
            EXPECT_EQ(accessible->role(), QAccessible::Notification);
            if (c.refusal) {
                // A refusal is a state, not news: the controller does not hold what the page shows, and a
                // person who looked away while the write ran must still find it. It stays until the next apply.
                QTest::qWait(config::ApplyNotice::kShownMs + 500);
                EXPECT_TRUE(notice.isVisible());
                EXPECT_EQ(notice.text().toStdString(), expected.toStdString());
                continue;
            }
            // Success goes by itself after a moment.
            ASSERT_TRUE(WaitUntil([&] { return !notice.isVisible(); }));
            EXPECT_GE(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(config::ApplyNotice::kShownMs));
            EXPECT_TRUE(notice.text().isEmpty());
        }
        EXPECT_TRUE(recorded_.messages.empty());
        Click(window.CloseButton());
    });
}

// Clicks on Apply that come in before the window starts writing each queue a write. The write under way
// lets queued window messages through; a queued apply must not start a second write inside the first
// (that one would end, show its notice and give the buttons back while the first still writes).
TEST_F(FlowTest, ApplyClickedAgainBeforeTheWriteStartsWritesTheControllerOnce) {
    StartController();
    CConfigDlg window(Setup());
    Run(window, [&] {
        ASSERT_TRUE(WaitUntil([&] { return window.ArrivalsRead() == 1; }));
        ASSERT_TRUE(Idle(window));
        const config::ApplyNotice& notice = window.ApplyOutcome();
        // The commands the controller handles for the clicks, once the window is idle again.
        const auto commandsFor = [&](int clicks) {
            const std::uint64_t before = controller_->state().commandsHandled;
            for (int i = 0; i < clicks; ++i) Click(window.ApplyButton());
            EXPECT_TRUE(WaitUntil([&] { return !window.IsBusy() && notice.isVisible(); }));
            QTest::qWait(300);
            return controller_->state().commandsHandled - before;
        };
        const std::uint64_t one = commandsFor(1);
        EXPECT_GT(one, 0u);
        EXPECT_EQ(commandsFor(2), one);
        EXPECT_EQ(notice.text().toStdString(),
                  QString::fromStdU16String(xml::LookupValue(skindocs::StringDocument(), skindocs::keys::kMain,
                                                             skindocs::keys::kStrApplied))
                      .toStdString());
        Click(window.CloseButton());
    });
}

TEST_F(FlowTest, CloseAsksOnlyWhenSomethingChangedAndCancelKeepsTheWindow) {
    StartController();
    CConfigDlg window(Setup());
    Run(window, [&] {
        ASSERT_TRUE(WaitUntil([&] { return window.ArrivalsRead() == 1; }));
        ASSERT_TRUE(Idle(window));
        window.WorkingCopy().profiles[0].lighting.baseLayer.SetColor(config::layer_field::STATIC_COLOR, 0x00ABCDEF);

        QString asked;
        WhenShown<CWarnDlg>(&window, [&](CWarnDlg& question) {
            asked = question.MessageSection();
            Click(question.CancelButton());
        });
        Click(window.CloseButton());
        EXPECT_EQ(asked, "NO_SAVE");
        QTest::qWait(100);
        EXPECT_TRUE(window.isVisible());

        WhenShown<CWarnDlg>(&window, [](CWarnDlg& question) { Click(question.OkButton()); });
        Click(window.CloseButton());
        EXPECT_TRUE(WaitUntil([&] { return !window.isVisible(); }));
    });
}

TEST_F(FlowTest, TabsOpenTheWebPageAndTheFirmwarePromptAndLeaveTheFirstSelected) {
    StartController();
    CConfigDlg window(Setup());
    Run(window, [&] {
        ASSERT_TRUE(WaitUntil([&] { return window.ArrivalsRead() == 1; }));
        ASSERT_TRUE(Idle(window));
        Click(window.TabButton(1));
        ASSERT_EQ(recorded_.webPages.size(), 1u);
        EXPECT_TRUE(recorded_.webPages[0].startsWith("http")) << recorded_.webPages[0].toStdString();
        EXPECT_EQ(window.SelectedTab(), 0);

        bool updateRequired = true;
        WhenShown<fwstatus::CInfoDlg>(&window, [&](fwstatus::CInfoDlg& prompt) {
            updateRequired = prompt.UpdateRequired();
            Click(prompt.OkButton());
        });
        Click(window.TabButton(2));
        EXPECT_FALSE(updateRequired) << "the firmware is current";
        EXPECT_EQ(window.SelectedTab(), 0);
        EXPECT_TRUE(window.TabButton(0).IsChecked());
        EXPECT_FALSE(window.TabButton(2).IsChecked());
        EXPECT_TRUE(window.isVisible());

        // An effect without LED colours keeps LED 1 hidden when a tab shows the page again.
        window.LedPage().SelectEffect(config::effect_index::COLOR_CYCLE);
        Click(window.TabButton(1));
        EXPECT_FALSE(window.LedPage().FirstLedButton()->isVisible());
        WhenShown<CWarnDlg>(&window, [](CWarnDlg& question) { Click(question.OkButton()); });
        Click(window.CloseButton());
    });
    EXPECT_TRUE(launches_.starts.empty());
}

TEST_F(FlowTest, OlderFirmwareMakesTheUpdateMandatoryAndStartsTheUpdater) {
    StartController({1, 0, 100});
    SetControllerMode(7);
    {
        CConfigDlg window(Setup());
        QString confirmation;
        Run(window, [&] {
            WhenShown<fwstatus::CInfoDlg>(&window, [&](fwstatus::CInfoDlg& prompt) {
                EXPECT_TRUE(prompt.UpdateRequired());
                WhenShown<CWarnDlg>(&prompt, [&](CWarnDlg& question) {
                    confirmation = question.MessageSection();
                    Click(question.OkButton());
                });
                Click(prompt.UpdateButton());
            });
            EXPECT_TRUE(WaitUntil([&] { return !window.isVisible(); }));
        });
        EXPECT_EQ(confirmation, "FW_UPDATES");
        EXPECT_TRUE(window.UpdaterStarted());
        ASSERT_EQ(launches_.starts.size(), 1u);
        EXPECT_EQ(launches_.starts[0].program, TESSAFLASH_PROGRAM);
        EXPECT_EQ(launches_.starts[0].arguments, (QStringList{"true", "../halcyra"}));
    }
    EXPECT_EQ(ControllerMode(), 7) << "the updater has the controller: no hand-back";
}

// The updater started from the firmware tab cannot start: the person is told, the program closes,
// and the controller, which the page had in preview mode, gets its own operation back.
TEST_F(FlowTest, AnUpdaterThatCannotStartIsExplainedAndTheControllerHandedBack) {
    StartController();
    launches_.startSucceeds = false;
    {
        CConfigDlg window(Setup());
        Run(window, [&] {
            ASSERT_TRUE(WaitUntil([&] { return window.ArrivalsRead() == 1; }));
            ASSERT_TRUE(Idle(window));
            window.LedPage().SelectEffect(window.LedPage().CurrentEffect() == 2 ? 3 : 2);
            ASSERT_NE(ControllerMode(), 0);
            WhenShown<fwstatus::CInfoDlg>(&window, [&](fwstatus::CInfoDlg& prompt) {
                WhenShown<CWarnDlg>(&prompt, [](CWarnDlg& question) { Click(question.OkButton()); });
                Click(prompt.UpdateButton());
            });
            Click(window.TabButton(2));
            EXPECT_TRUE(WaitUntil([&] { return !window.isVisible(); }));
        });
        EXPECT_FALSE(window.UpdaterStarted());
    }
    ASSERT_EQ(launches_.failures.size(), 1u);
    EXPECT_TRUE(launches_.failures[0].contains("could not be started")) << launches_.failures[0].toStdString();
    EXPECT_EQ(ControllerMode(), 0) << "no updater took the controller: it gets its own operation back";
}

TEST_F(FlowTest, ControllerInItsBootLoaderPromptsAtOnceAndClosingThePromptEndsTheProgram) {
    StartController({1, 1, 0}, true);
    CConfigDlg window(Setup());
    bool prompted = false;
    Run(window, [&] {
        WhenShown<fwstatus::CInfoDlg>(&window, [&](fwstatus::CInfoDlg& prompt) {
            prompted = true;
            Click(prompt.CloseButton());
        });
        EXPECT_TRUE(WaitUntil([&] { return !window.isVisible(); }));
    });
    EXPECT_TRUE(prompted);
    EXPECT_EQ(VisibleWindow<CWarnDlg>(), nullptr) << "no no-device warning while the boot loader is there";
}

TEST_F(FlowTest, RestartedByTheUpdaterPromptsOnArrivalAndContinuesOnOk) {
    StartController();
    SetControllerMode(7);
    {
        CConfigDlg window(Setup({"true"}));
        bool prompted = false;
        Run(window, [&] {
            WhenShown<fwstatus::CInfoDlg>(&window, [&](fwstatus::CInfoDlg& prompt) {
                prompted = true;
                EXPECT_FALSE(prompt.UpdateRequired());
                Click(prompt.OkButton());
            });
            ASSERT_TRUE(WaitUntil([&] { return prompted && window.ArrivalsRead() == 1; }));
            ASSERT_TRUE(Idle(window));
            EXPECT_FALSE(window.RestartedAfterUpdate());
            Click(window.CloseButton());
        });
        EXPECT_TRUE(prompted);
    }
    EXPECT_EQ(ControllerMode(), 0) << "after OK the program ends as after a normal start";
}

TEST_F(FlowTest, RestartedByTheUpdaterAndLeavingAMandatoryPromptSendsNoHandBack) {
    StartController({1, 0, 100});
    SetControllerMode(7);
    {
        CConfigDlg window(Setup({"true"}));
        Run(window, [&] {
            WhenShown<fwstatus::CInfoDlg>(&window, [](fwstatus::CInfoDlg& prompt) { Click(prompt.CloseButton()); });
            EXPECT_TRUE(WaitUntil([&] { return !window.isVisible(); }));
        });
    }
    EXPECT_EQ(ControllerMode(), 7);
}

TEST_F(FlowTest, ReportsOfTheSecondProfileChangeNoRecordAndKeepTheCopiesEqual) {
    simulator::VirtualController& controller = StartController();
    {
        CConfigDlg window(Setup());
        Run(window, [&] {
            ASSERT_TRUE(WaitUntil([&] { return window.ArrivalsRead() == 1; }));
            ASSERT_TRUE(Idle(window));
            const auto before = std::make_unique<SettingsBlock>(window.WorkingCopy());
            controller.pressProfileButton();
            ASSERT_TRUE(WaitUntil([&] { return window.ConfirmedProfile() == 1; }));
            EXPECT_EQ(window.WorkingCopy(), *before) << "the block has no record for profile 1";
            EXPECT_FALSE(window.HasUnsavedChanges());
            EXPECT_EQ(window.WorkingCopy().ProfileIndex(), 0);
            Click(window.CloseButton());
        });
    }
    EXPECT_EQ(ControllerMode(), 0) << "the controller still gets its own operation back";
    EXPECT_EQ(controller.state().live.currentProfile, 1) << "on the profile the person chose on the controller";
}

}  // namespace
}  // namespace mainwindow_test
