// The main window against a controller that misbehaves and a person who closes it in every way: the
// person's settings are never lost, the controller is never left in the wrong effect, mode or
// profile, and the pop-ups belong to the main window.
#include "MainWindowFixture.h"

#include "LightingCodes.h"
#include "LinkMessages.h"
#include "UserFolder.h"
#include "WarnDlg.h"
#include "WindowMessage.h"

#include "simulator/Faults.h"

#include <QCloseEvent>
#include <QWindow>

namespace mainwindow_test {
namespace {

using config::CConfigDlg;
using config::CWarnDlg;

// The status query the main window sends after an event report (group 0x40, key 0x63).
constexpr std::uint8_t kQueryGroup = 0x40;
constexpr std::uint8_t kStatusKey = 0x63;

// A close as the window manager asks for it (Alt+F4, the task bar): a close event that reaches the
// window's platform window from outside, not one the program asked for.
void CloseFromWindowManager(QWidget& window) {
    QCloseEvent close;
    QCoreApplication::sendEvent(window.windowHandle(), &close);
}

// An effect of the list that differs from `index`.
int OtherEffect(int index) { return index == 2 ? 3 : 2; }

using KeepingTest = MainWindowFixture;

TEST_F(KeepingTest, AStatusReadThatFailsChangesNothing) {
    simulator::VirtualController& controller = StartController();
    CConfigDlg window(Setup());
    Run(window, [&] {
        ASSERT_TRUE(WaitUntil([&] { return window.ArrivalsRead() == 1; }));
        ASSERT_TRUE(Idle(window));
        const int edited = OtherEffect(window.WorkingCopy().profiles[0].lighting.SelectEffect());
        window.LedPage().SelectEffect(edited);
        ASSERT_TRUE(window.HasUnsavedChanges());
        QTest::qWait(200);  // the page's coalesced sends of the edit have reached the controller
        const int confirmed = window.ConfirmedProfile();
        const int handled = window.EventReportsHandled();

        // Every status query after the button's event report goes unanswered.
        controller.addFault({.kind = simulator::FaultKind::DropReply, .command = kQueryGroup, .key = kStatusKey});
        const std::uint8_t editedCode = config::kEffectList[static_cast<std::size_t>(edited)].code;
        controller.pressEffectButton();
        ASSERT_TRUE(WaitUntil([&] { return controller.state().live.current().activeEffect[0] != editedCode; }));
        const std::uint8_t chosen = controller.state().live.current().activeEffect[0];
        ASSERT_TRUE(WaitUntil([&] { return window.EventReportsHandled() > handled; }));
        controller.clearFaults();

        EXPECT_EQ(window.WorkingCopy().profiles[0].lighting.SelectEffect(), edited);
        EXPECT_TRUE(window.HasUnsavedChanges()) << "the person's edit still counts as unsaved";
        EXPECT_EQ(window.LedPage().CurrentEffect(), edited);
        EXPECT_EQ(window.ConfirmedProfile(), confirmed);
        EXPECT_EQ(controller.state().live.current().activeEffect[0], chosen)
            << "the controller keeps what its own button chose";
        WhenShown<CWarnDlg>(&window, [](CWarnDlg& question) { Click(question.OkButton()); });
        Click(window.CloseButton());
    });
}

// The files name the controller's second profile, for which the settings hold no record: the page
// shows record 0, apply writes it into profile 0 and selects profile 0, and that stays on exit.
TEST_F(KeepingTest, ASettingsFileNamingTheSecondProfileShowsAppliesAndLeavesRecordZero) {
    simulator::VirtualController& controller = StartController();
    {
        config::PrepareUserDataFolders();
        auto files = std::make_unique<config::SettingsBlock>();
        auto unused = std::make_unique<config::SettingsBlock>();
        config::InitSettingsBlock(*files, *unused);
        files->SetProfileIndex(1);
        ASSERT_TRUE(config::SaveSettingsFiles(*files).Saved());
    }
    {
        CConfigDlg window(Setup());
        Run(window, [&] {
            ASSERT_TRUE(WaitUntil([&] { return window.ArrivalsRead() == 1; }));
            ASSERT_TRUE(Idle(window));
            const int shown = window.WorkingCopy().profiles[0].lighting.SelectEffect();
            EXPECT_EQ(window.LedPage().CurrentEffect(), shown) << "the page shows record 0";
            const int edited = OtherEffect(shown);
            window.LedPage().SelectEffect(edited);
            Click(window.ApplyButton());
            ASSERT_TRUE(WaitUntil([&] { return !window.IsBusy() && !window.ProgressPane().isVisible(); }));
            EXPECT_EQ(window.ConfirmedProfile(), 0);
            EXPECT_EQ(controller.state().live.currentProfile, 0) << "the controller runs what was written";
            EXPECT_EQ(controller.state().stored.profiles[0].activeEffect[0], config::kEffectList[edited].code);
            EXPECT_FALSE(window.HasUnsavedChanges());
            Click(window.CloseButton());
        });
    }
    EXPECT_EQ(controller.state().live.currentProfile, 0) << "the hand-back keeps the written profile";
    auto loaded = std::make_unique<config::SettingsBlock>();
    config::LoadSettingsFiles(*loaded);
    EXPECT_EQ(loaded->ProfileIndex(), 0);
}

TEST_F(KeepingTest, TheWindowManagersCloseAsksLikeTheCloseButton) {
    struct Row {
        const char* what;
        bool edited;
        bool confirm;      // the answer to "NO_SAVE", when it is asked
        bool expectAsked;
        bool expectClosed;
    };
    const Row rows[] = {
        {"nothing changed", false, false, false, true},
        {"changed, cancelled", true, false, true, false},
        {"changed, confirmed", true, true, true, true},
    };
    StartController();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        CConfigDlg window(Setup());
        bool asked = false;
        bool closed = false;
        Run(window, [&] {
            ASSERT_TRUE(WaitUntil([&] { return window.ArrivalsRead() == 1; }));
            ASSERT_TRUE(Idle(window));
            if (row.edited) window.LedPage().SelectEffect(OtherEffect(window.LedPage().CurrentEffect()));
            WhenShown<CWarnDlg>(&window, [&](CWarnDlg& question) {
                asked = question.MessageSection() == "NO_SAVE";
                Click(row.confirm ? question.OkButton() : question.CancelButton());
            });
            CloseFromWindowManager(window);
            if (row.expectClosed) {
                closed = WaitUntil([&] { return !window.isVisible(); });
            } else {
                QTest::qWait(500);
                closed = !window.isVisible();
            }
            if (!closed) window.reject();
        });
        EXPECT_EQ(asked, row.expectAsked);
        EXPECT_EQ(closed, row.expectClosed);
    }
}

// Closes from the window manager that come in a burst (Alt+F4 pressed twice, a double click on the
// task bar's close) before the question is up ask once: the person is not asked again after answering.
TEST_F(KeepingTest, RepeatedWindowManagerClosesAskOnce) {
    StartController();
    CConfigDlg window(Setup());
    int questions = 0;
    Run(window, [&] {
        ASSERT_TRUE(WaitUntil([&] { return window.ArrivalsRead() == 1; }));
        ASSERT_TRUE(Idle(window));
        window.LedPage().SelectEffect(OtherEffect(window.LedPage().CurrentEffect()));
        QTimer answer;
        QObject::connect(&answer, &QTimer::timeout, &window, [&] {
            if (CWarnDlg* question = VisibleWindow<CWarnDlg>()) {
                ++questions;
                Click(question->CancelButton());
            }
        });
        answer.start(20);
        CloseFromWindowManager(window);
        CloseFromWindowManager(window);
        QTest::qWait(1000);
        answer.stop();
        EXPECT_TRUE(window.isVisible()) << "cancelled: the window stays";
        WhenShown<CWarnDlg>(&window, [](CWarnDlg& question) { Click(question.OkButton()); });
        Click(window.CloseButton());
    });
    EXPECT_EQ(questions, 1);
}

TEST_F(KeepingTest, ClosesTheProgramAsksForItselfDoNotAsk) {
    simulator::VirtualController& controller = StartController();
    CConfigDlg window(Setup());
    bool asked = false;
    Run(window, [&] {
        ASSERT_TRUE(WaitUntil([&] { return window.ArrivalsRead() == 1; }));
        ASSERT_TRUE(Idle(window));
        window.LedPage().SelectEffect(OtherEffect(window.LedPage().CurrentEffect()));
        WhenShown<CWarnDlg>(&window, [&](CWarnDlg& question) {
            asked = true;
            Click(question.CancelButton());
        });
        controller.unplug();
        EXPECT_TRUE(WaitUntil([&] { return !window.isVisible(); }));
    });
    EXPECT_FALSE(asked);
}

TEST_F(KeepingTest, DiscardGivesTheControllerBackWhatWasApplied) {
    simulator::VirtualController& controller = StartController();
    int applied = -1;
    {
        CConfigDlg window(Setup());
        Run(window, [&] {
            ASSERT_TRUE(WaitUntil([&] { return window.ArrivalsRead() == 1; }));
            ASSERT_TRUE(Idle(window));
            applied = window.WorkingCopy().profiles[0].lighting.SelectEffect();
            window.LedPage().SelectEffect(OtherEffect(applied));
            ASSERT_NE(controller.state().live.current().activeEffect[0], config::kEffectList[applied].code)
                << "the edit is previewed on the controller";
            WhenShown<CWarnDlg>(&window, [](CWarnDlg& question) { Click(question.OkButton()); });
            Click(window.CloseButton());
        });
    }
    EXPECT_EQ(controller.state().live.current().activeEffect[0], config::kEffectList[applied].code);
    EXPECT_EQ(controller.state().session.mode, 0);

    CConfigDlg next(Setup());
    Run(next, [&] {
        ASSERT_TRUE(WaitUntil([&] { return next.ArrivalsRead() == 1; }));
        ASSERT_TRUE(Idle(next));
        EXPECT_EQ(next.WorkingCopy().profiles[0].lighting.SelectEffect(), applied) << "the next start shows what was applied";
        Click(next.CloseButton());
    });
}

// After a start without a controller, the no-device warning is over once the controller has come:
// unplugging it while another warning shows ends the program as after a start with a controller.
TEST_F(KeepingTest, TheWarningShownFlagEndsWithTheNoDeviceWarning) {
    CConfigDlg window(Setup());
    simulator::VirtualController* controller = nullptr;
    bool closed = false;
    Run(window, [&] {
        WhenShown<CWarnDlg>(&window, [&](CWarnDlg&) { controller = &StartController(); });
        ASSERT_TRUE(WaitUntil([&] { return window.ArrivalsRead() == 1; }));
        ASSERT_TRUE(Idle(window));
        EXPECT_FALSE(window.WarningShown());
        window.LedPage().SelectEffect(OtherEffect(window.LedPage().CurrentEffect()));
        WhenShown<CWarnDlg>(&window, [&](CWarnDlg&) { controller->unplug(); });
        Click(window.CloseButton());
        closed = WaitUntil([&] { return !window.isVisible(); });
    });
    EXPECT_TRUE(closed);
}

// The no-device warning says what its button does: the message names the button that ends the program.
TEST_F(KeepingTest, TheNoDeviceWarningSaysWhatItsButtonDoes) {
    CConfigDlg window(Setup());
    QString message;
    QString caption;
    Run(window, [&] {
        WhenShown<CWarnDlg>(&window, [&](CWarnDlg& warning) {
            message = QString::fromStdU16String(
                xml::LookupValue(skindocs::StringDocument(), u"NO_KEYBOARD", u"STR_WARN"));
            caption = warning.OkButton().GetCaption();
            Click(warning.OkButton());
        });
        EXPECT_TRUE(WaitUntil([&] { return !window.isVisible(); })) << "its button ends the program";
    });
    EXPECT_FALSE(caption.isEmpty());
    EXPECT_NE(caption, "OK");
    EXPECT_TRUE(message.contains(caption)) << message.toStdString();
}

// The pop-ups of the main window belong to it: the question is its transient child, centred on it,
// shown over the main window dimmed from inside; the firmware prompt counts as an open pop-up.
TEST_F(KeepingTest, PopupsBelongToTheMainWindow) {
    StartController();
    CConfigDlg window(Setup());
    Run(window, [&] {
        ASSERT_TRUE(WaitUntil([&] { return window.ArrivalsRead() == 1; }));
        ASSERT_TRUE(Idle(window));
        bool promptMarked = false;
        WhenShown<fwstatus::CInfoDlg>(&window, [&](fwstatus::CInfoDlg& prompt) {
            promptMarked = config::g_popupOpen;
            Click(prompt.OkButton());
        });
        Click(window.TabButton(2));
        EXPECT_TRUE(promptMarked);
        EXPECT_FALSE(config::g_popupOpen);

        window.LedPage().SelectEffect(OtherEffect(window.LedPage().CurrentEffect()));
        bool owned = false;
        QPoint offCentre;
        int overlays = 0;
        WhenShown<CWarnDlg>(&window, [&](CWarnDlg& question) {
            owned = question.windowHandle() != nullptr && question.windowHandle()->transientParent() == window.windowHandle();
            offCentre = question.geometry().center() - window.geometry().center();
            // The dimming is a layer inside the main window, not a window of its own.
            for (QWidget* top : QApplication::topLevelWidgets()) {
                if (top->isVisible() && top->objectName() == "DLGLoading") ++overlays;
            }
            Click(question.CancelButton());
        });
        Click(window.CloseButton());
        EXPECT_TRUE(owned);
        EXPECT_LE(offCentre.manhattanLength(), 2);
        EXPECT_EQ(overlays, 0);
        WhenShown<CWarnDlg>(&window, [](CWarnDlg& question) { Click(question.OkButton()); });
        Click(window.CloseButton());
    });
}

// The LED page's preview send waits as a low-priority posted event (PreviewCoalescer.h); one that is
// waiting when the device write starts must not run inside the write, between its commands.
class LowPriorityProbe : public QObject {
public:
    explicit LowPriorityProbe(const CConfigDlg& window) : window_(window) {}
    static QEvent::Type Type() {
        static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
        return type;
    }
    bool delivered = false;
    bool deliveredDuringWrite = false;

protected:
    bool event(QEvent* event) override {
        if (event->type() != Type()) return QObject::event(event);
        delivered = true;
        deliveredDuringWrite = window_.IsBusy();
        return true;
    }

private:
    const CConfigDlg& window_;
};

TEST_F(KeepingTest, APreviewWaitingWhenTheDeviceWriteStartsIsSentAfterIt) {
    StartController();
    CConfigDlg window(Setup());
    LowPriorityProbe probe(window);
    Run(window, [&] {
        ASSERT_TRUE(WaitUntil([&] { return window.ArrivalsRead() == 1; }));
        ASSERT_TRUE(Idle(window));
        window.LedPage().SelectEffect(OtherEffect(window.LedPage().CurrentEffect()));
        Click(window.ApplyButton());
        QCoreApplication::postEvent(&probe, new QEvent(LowPriorityProbe::Type()), Qt::LowEventPriority);
        ASSERT_TRUE(WaitUntil([&] { return probe.delivered && !window.IsBusy(); }));
        EXPECT_FALSE(probe.deliveredDuringWrite);
        Click(window.CloseButton());
    });
}

}  // namespace
}  // namespace mainwindow_test
