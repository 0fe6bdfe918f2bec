// The update session in window mode (no window built: the test stands in for it) against the in-process
// virtual controller: what a person's window would be left with after each outcome, and the exit code
// the session ends with.
#include "FakeHidrawTree.h"
#include "HostLink.h"

#include "ExitCodes.h"
#include "UpdateSession.h"

#include "simulator/VirtualController.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <optional>

namespace {

using namespace std::chrono_literals;
using simulator::ControllerState;
using simulator::Firmware;

class WindowSession : public simulator::test::BusTest {
protected:
    void SetUp() override {
        BusTest::SetUp();
        ::setenv("XDG_RUNTIME_DIR", root_.c_str(), 1);
    }
    void TearDown() override {
        session_.reset();
        controller_.reset();
        BusTest::TearDown();
    }

    void startController(simulator::ControllerOptions o) {
        controller_ = BusTest::startController(std::move(o));
        ASSERT_TRUE(controller_);
    }

    // A session as the window drives it: OK pressed by auto-start ("true"), or by the test.
    void startSession(const char* program, bool autoStart = true) {
        updater::UpdaterOptions options;
        options.autoStart = autoStart;
        session_ = std::make_unique<updater::UpdateSession>(options);
        QObject::connect(session_.get(), &updater::UpdateSession::messageBox, session_.get(),
                         [this](const QString& text, const QString&) { messages_.push_back(text); });
        QObject::connect(session_.get(), &updater::UpdateSession::resultReady, session_.get(),
                         [this](int page, int) { pages_.push_back(page); });
        QObject::connect(session_.get(), &updater::UpdateSession::finished, session_.get(),
                         [this](int code) { finishedWith_ = code; });
        ASSERT_TRUE(session_->start(program));
    }

    // Runs the event loop until `done` holds or the time is up.
    bool runUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (!done()) {
            if (std::chrono::steady_clock::now() > end) return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        }
        return true;
    }

    std::unique_ptr<simulator::VirtualController> controller_;
    std::unique_ptr<updater::UpdateSession> session_;
    std::vector<QString> messages_;
    std::vector<int> pages_;
    std::optional<int> finishedWith_;
};

// The boot loader's records cannot be read after the controller was sent there: the window is left
// with its close button, no bar, the real cause, and the controller back in its firmware.
TEST_F(WindowSession, RecordsUnreadableInTheBootLoaderLeaveAWayOut) {
    auto o = options();
    o.faults.push_back(simulator::parseFaultRule("drop:12.00,skip=1").rule.value());
    startController(o);
    startSession(TESSAFLASH);
    ASSERT_TRUE(runUntil([&] { return !messages_.empty(); }, 40s));
    EXPECT_EQ(messages_.front(), QStringLiteral("Get Info Error!"));
    const auto buttons = session_->buttons();
    EXPECT_TRUE(buttons.close);
    EXPECT_FALSE(buttons.updating) << "the progress bar would stay and Enter/Escape be refused";
    controller_->clearFaults();
    EXPECT_TRUE(controller_->waitFor([](const ControllerState& s, bool onBus) {
        return onBus && s.firmware == Firmware::Application;
    }, 10s)) << "the controller stays in its boot loader";
    session_->cancel();
    ASSERT_TRUE(finishedWith_.has_value()) << "the close button does not end the run";
}

// A unit behind the controller that does not start its boot loader fails the first request; OK again
// updates it, and the run then ends with 0, not the first attempt's 1.
TEST_F(WindowSession, ASuccessfulRetryEndsWithZero) {
    auto o = options();
    o.targets = {simulator::defaultTargetConfig(), simulator::defaultTargetConfig(), simulator::defaultTargetConfig()};
    o.targets[2].fwInfo.layoutId = 3;   // the search package's only layout
    // The first request: the write-address query and all 20 polls are refused.
    o.faults.push_back(simulator::parseFaultRule("error:1e.00,times=21").rule.value());
    startController(o);
    startSession(TESSAFLASH_SEARCH);
    ASSERT_TRUE(runUntil([&] { return !pages_.empty(); }, 60s));
    EXPECT_EQ(pages_.front(), 2) << "the failure page";
    ASSERT_FALSE(finishedWith_.has_value());
    ASSERT_TRUE(runUntil([&] { return session_->buttons().ok; }, 10s));
    EXPECT_EQ(session_->texts().progressLine.toStdString(), "") << "OK is offered again: the page asks for it, no stale phase";
    session_->requestUpdate();   // OK pressed again
    ASSERT_TRUE(runUntil([&] { return finishedWith_.has_value(); }, 60s));
    EXPECT_EQ(pages_.back(), 1) << "the success page";
    EXPECT_EQ(*finishedWith_, updater::kExitSuccess);
    EXPECT_EQ(session_->exitCode(), updater::kExitSuccess);
}

// The page's duration is that of this package on this controller: the update then takes about as long
// (not "about a minute" for a few seconds' work).
TEST_F(WindowSession, TheDurationShownMatchesTheUpdate) {
    startController(options());
    startSession(TESSAFLASH, false);
    ASSERT_TRUE(runUntil([&] { return session_->buttons().ok; }, 20s));
    const QString duration = session_->texts().duration;
    const QRegularExpressionMatch said = QRegularExpression(QStringLiteral("about (\\d+) seconds")).match(duration);
    ASSERT_TRUE(said.hasMatch()) << duration.toStdString();
    const int seconds = said.captured(1).toInt();
    const auto started = std::chrono::steady_clock::now();
    session_->requestUpdate();
    ASSERT_TRUE(runUntil([&] { return finishedWith_.has_value(); }, 60s));
    const double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    EXPECT_EQ(*finishedWith_, updater::kExitSuccess);
    // Wide bounds: the machine running the tests may be busy, and the pace was measured before the
    // update; a fixed text ("about a minute" for a few seconds' work) still falls outside them.
    EXPECT_LE(took, 4.0 * seconds + 10) << duration.toStdString();
    EXPECT_GE(took, seconds / 6.0 - 0.5) << duration.toStdString();
}

// From OK on, the page says what is happening and keeps the installed version: while the controller
// restarts into its boot loader (and is briefly no device at all) the page must not fall back to
// "Press OK" or show the version as blank.
TEST_F(WindowSession, FromOkOnThePageTellsThePhaseAndKeepsTheInstalledVersion) {
    startController(options());
    startSession(TESSAFLASH, false);
    ASSERT_TRUE(runUntil([&] { return session_->buttons().ok; }, 20s));
    ASSERT_FALSE(session_->texts().currentVersion.isEmpty());
    std::vector<std::pair<QString, QString>> shown;  // installed version and phase line, as each change showed them
    QObject::connect(session_.get(), &updater::UpdateSession::textsChanged, session_.get(), [&] {
        if (!finishedWith_) shown.emplace_back(session_->texts().currentVersion, session_->texts().progressLine);
    });
    session_->requestUpdate();
    EXPECT_FALSE(session_->texts().progressLine.isEmpty()) << "a phase as soon as OK is pressed";
    ASSERT_TRUE(runUntil([&] { return finishedWith_.has_value(); }, 60s));
    EXPECT_EQ(*finishedWith_, updater::kExitSuccess);
    ASSERT_FALSE(shown.empty());
    for (const auto& [version, phase] : shown) {
        EXPECT_FALSE(version.isEmpty()) << "the installed version went blank (phase: " << phase.toStdString() << ")";
        EXPECT_FALSE(phase.isEmpty()) << "the page went back to its instruction (version: " << version.toStdString() << ")";
    }
}

}  // namespace
