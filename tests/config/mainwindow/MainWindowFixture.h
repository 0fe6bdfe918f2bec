// The main window on the generated skin against a virtual controller on a private bus: the window's
// outside world (updater start, web opener, message boxes) is recorded, and a test drives the modal
// window with a script that runs inside its loop.
#pragma once

#include "ConfigDlg.h"
#include "FirmwareStatusFixture.h"
#include "PopupWindows.h"
#include "SettingsFiles.h"
#include "SkinDocuments.h"
#include "SkinSet.h"

#include "simulator/VirtualController.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

#include <memory>
#include <string>
#include <vector>

namespace mainwindow_test {

using config_test::WaitUntil;

struct Recorded {
    std::vector<QString> webPages;
    std::vector<QString> messages;
};

inline void Click(QWidget& widget) { QTest::mouseClick(&widget, Qt::LeftButton, {}, widget.rect().center()); }

// The first visible top-level widget of type T, or nullptr.
template <typename T>
T* VisibleWindow() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* typed = qobject_cast<T*>(window); typed != nullptr && typed->isVisible()) return typed;
    }
    return nullptr;
}

class MainWindowFixture : public fwstatus_test::FirmwareStatusFixture {
protected:
    void SetUp() override {
        FirmwareStatusFixture::SetUp();
        environment_.Set("XDG_CONFIG_HOME", folder_.File("config"));
        environment_.Set("XDG_DATA_HOME", folder_.File("data"));
        // The texts are the program folder's English whatever the machine's locale.
        for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES"}) environment_.Unset(name);
        environment_.Set("LANG", "C.UTF-8");
    }

    void TearDown() override {
        skindocs::ResetSkinDocuments();
        FirmwareStatusFixture::TearDown();
    }

    // A controller on the bus, with the firmware the updater brings unless `version` says otherwise;
    // the main window opens the links.
    simulator::VirtualController& StartController(firmware::Version version = {1, 1, 0}, bool inBootLoader = false) {
        return StartVirtualController(version, inBootLoader);
    }

    // Sets the controller's mode through a link of the test's own, so that a later SetMode shows.
    void SetControllerMode(std::uint8_t mode) {
        config::CUSBDriver& link = MakeLink();
        ASSERT_TRUE(link.OpenDevice());
        ASSERT_EQ(link.SetMode(mode), 0);
        links_.clear();
    }

    std::uint8_t ControllerMode() const { return controller_->state().session.mode; }

    config::ConfigDlgSetup Setup(std::vector<std::string> words = {}) {
        config::ConfigDlgSetup setup;
        setup.options = config::ParseCommandLine(words);
        setup.resolutionFolder = "1366x768/";
        setup.tarnlink = api_;
        setup.loadSkinSet = [](const std::string& folder) { config::LoadSkinSetFrom(SKIN_PROGRAM_DIR "/", folder); };
        setup.promptSetup = [this](firmware::PackageMessageSink& messages) {
            fwstatus::PromptSetup prompt;
            prompt.prompt.updaterProgram = TESSAFLASH_PROGRAM;
            prompt.prompt.messages = &messages;
            prompt.updater = {TESSAFLASH_PROGRAM, {"true", "../halcyra"}};
            prompt.launch = launches_.Hooks();
            return prompt;
        };
        setup.firmwareRetries = fwstatus_test::kQuickRetries;
        setup.openWebPage = [this](const QString& address) {
            recorded_.webPages.push_back(address);
            return 0;
        };
        setup.showMessage = [this](QWidget*, const QString& text) { recorded_.messages.push_back(text); };
        return setup;
    }

    // Shows the window as its modal run does, then plays the person's part with `script`, which must
    // end the window; the script runs as the outermost loop, as the window's own modal loop would. A
    // window still open at the deadline is closed so that a failing test cannot hang. Returns the
    // window's result.
    int Run(config::CConfigDlg& window, const std::function<void()>& script) {
        QTimer watchdog;
        watchdog.setSingleShot(true);
        QObject::connect(&watchdog, &QTimer::timeout, &window, [&window] {
            ADD_FAILURE() << "the main window was still open at the deadline";
            for (QWidget* other : QApplication::topLevelWidgets()) {
                if (other != &window && other->isVisible()) other->close();
            }
            window.reject();
        });
        watchdog.start(std::chrono::seconds(40));
        window.show();
        script();
        if (!WaitUntil([&] { return !window.isVisible(); })) {
            ADD_FAILURE() << "the script left the main window open";
            window.reject();
        }
        return window.result();
    }

    // Waits until the window has read the controller and is idle (no pop-up, not busy).
    static bool Idle(config::CConfigDlg& window) {
        return WaitUntil([&] {
            return !window.IsBusy() && !config::g_popupOpen && config::FindWindowByTitle(config::kWarnDlgTitle) == nullptr;
        });
    }

    // Runs `action` on the first visible window of type T as soon as one appears (checked every 20 ms).
    template <typename T>
    void WhenShown(QObject* context, std::function<void(T&)> action) {
        auto* timer = new QTimer(context);
        QObject::connect(timer, &QTimer::timeout, context, [timer, action] {
            if (T* window = VisibleWindow<T>()) {
                timer->stop();
                timer->deleteLater();
                action(*window);
            }
        });
        timer->start(20);
    }

    Recorded recorded_;
    fwstatus_test::LaunchRecorder launches_;
};

}  // namespace mainwindow_test
