// The firmware update across both programs: the main window (in this test process) finds older
// firmware, the person confirms the update, the real updater starts, flashes the virtual controller,
// shows its success page (on which the person presses OK) and starts the real halcyra again with
// "true", which takes the controller and ends on SIGTERM.
//
// The updater's success page waits for a person, so the programs this test starts get a display of
// their own (Xvfb) and the test presses OK there with xdotool; without either the test is skipped.
#include "ProgramProcess.h"

#include "MainWindowFixture.h"

#include "FirmwarePrompt.h"
#include "InfoDlg.h"
#include "WarnDlg.h"

#include <signal.h>
#include <unistd.h>

#include "UpdaterLayout.h"

#include <filesystem>
#include <sstream>
#include <thread>

namespace program_test {
namespace {

using namespace std::chrono_literals;

class UpdateAcrossPrograms : public mainwindow_test::MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        // The programs' locks and the companion socket in a runtime folder of the test's own.
        environment_.Set("XDG_RUNTIME_DIR", folder_.Path());
        for (const char* tool : {"Xvfb", "xdotool"}) {
            if (!OnPath(tool)) GTEST_SKIP() << tool << " is not installed";
        }
        // The display's own environment holds no bus: the clean-up of the bus's processes leaves it
        // to its Process object.
        display_ = std::make_unique<Process>(
            "Xvfb", std::vector<std::string>{"-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"},
            folder_.Path(), std::vector<std::string>{"PATH=/usr/bin:/bin"});
        std::string number;
        ASSERT_TRUE(Eventually([&] {
            number = display_->Output();
            return number.ends_with('\n');
        })) << "Xvfb did not start: " << display_->Errors();
        number.pop_back();
        // The test's own windows stay on the offscreen platform; the programs it starts use the display.
        environment_.Set("DISPLAY", ":" + number);
        environment_.Set("QT_QPA_PLATFORM", "xcb");
    }

    static bool OnPath(const std::string& tool) {
        std::istringstream path(std::getenv("PATH") != nullptr ? std::getenv("PATH") : "");
        for (std::string folder; std::getline(path, folder, ':');) {
            if (::access((folder + "/" + tool).c_str(), X_OK) == 0) return true;
        }
        return false;
    }

    // Runs xdotool with `arguments` on the display; its standard output.
    std::string Xdotool(const std::vector<std::string>& arguments) {
        Process tool("xdotool", arguments, folder_.Path());
        tool.Wait();
        return tool.Output();
    }

    // Presses OK on the updater's success page, as soon as the page is on the display.
    bool PressOkOnTheSuccessPage() {
        std::string window;
        if (!Eventually([&] {
                window = Xdotool({"search", "--onlyvisible", "--name", "Firmware update complete"});
                return !window.empty();
            })) {
            return false;
        }
        window = window.substr(0, window.find('\n'));
        // The OK button's record: "BUTTON_OK,x,y,width,height,...".
        const std::u16string record = updater::LoadUpdaterLayout().resultOk;
        std::vector<int> values;
        std::istringstream fields(std::string(record.begin(), record.end()));
        std::string field;
        std::getline(fields, field, ',');
        for (int i = 0; i < 4 && std::getline(fields, field, ','); ++i) values.push_back(std::stoi(field));
        if (values.size() != 4) return false;
        Xdotool({"mousemove", "--window", window, std::to_string(values[0] + values[2] / 2),
                 std::to_string(values[1] + values[3] / 2), "click", "1"});
        return true;
    }

    // The window's setup with the real updater start: the program folder's updater, told to start
    // "../halcyra" there again, started detached.
    config::ConfigDlgSetup RealUpdaterSetup() {
        config::ConfigDlgSetup setup = Setup();
        setup.promptSetup = [](firmware::PackageMessageSink& messages) {
            fwstatus::PromptSetup prompt = fwstatus::DefaultPromptSetup(messages);
            prompt.prompt.updaterProgram = TESSAFLASH_PROGRAM;
            prompt.updater = fwstatus::MakeUpdaterCommand(HALCYRA_PROGRAM_DIR "/", QStringLiteral("halcyra"));
            return prompt;
        };
        return setup;
    }

    // The running processes of this test's bus whose command line is `words`.
    std::vector<pid_t> Running(const std::vector<std::string>& words) const {
        std::vector<pid_t> found;
        for (const pid_t pid : ProcessesWith("TARNLINK_BUS=" + bus_)) {
            if (CommandLineOf(pid) == words) found.push_back(pid);
        }
        return found;
    }

    // The processes on this test's bus, for a failure message.
    std::string Describe() const {
        std::string text;
        for (const pid_t pid : ProcessesWith("TARNLINK_BUS=" + bus_)) {
            text += "\n  " + std::to_string(pid) + ":";
            for (const std::string& word : CommandLineOf(pid)) text += " " + word;
        }
        return text.empty() ? " none" : text;
    }

    std::unique_ptr<Process> display_;

    // Waits until `condition` holds, checking every 20 ms; false at the deadline.
    static bool Eventually(const std::function<bool()>& condition) {
        const auto end = std::chrono::steady_clock::now() + kProcessDeadline;
        while (!condition()) {
            if (std::chrono::steady_clock::now() > end) return false;
            std::this_thread::sleep_for(20ms);
        }
        return true;
    }
};

TEST_F(UpdateAcrossPrograms, TheUpdaterFlashesAndStartsTheProgramAgainWhichEndsOnSigterm) {
    const DescendantGuard guard("TARNLINK_BUS=" + bus_);
    StartController({1, 0, 100});
    {
        config::CConfigDlg window(RealUpdaterSetup());
        Run(window, [&] {
            WhenShown<fwstatus::CInfoDlg>(&window, [this](fwstatus::CInfoDlg& prompt) {
                EXPECT_TRUE(prompt.UpdateRequired());
                WhenShown<config::CWarnDlg>(
                    &prompt, [](config::CWarnDlg& question) { mainwindow_test::Click(question.OkButton()); });
                mainwindow_test::Click(prompt.UpdateButton());
            });
            EXPECT_TRUE(mainwindow_test::WaitUntil([&] { return !window.isVisible(); }));
        });
        ASSERT_TRUE(window.UpdaterStarted());
    }

    const std::string updater = std::filesystem::canonical(TESSAFLASH_PROGRAM).string();
    const std::vector<std::string> restarted{std::filesystem::canonical(HALCYRA_PROGRAM_DIR "/halcyra").string(), "true"};
    ASSERT_TRUE(controller_->waitFor(
        [](const simulator::ControllerState& s, bool onBus) {
            return onBus && s.firmware == simulator::Firmware::Application &&
                   s.targets.at(0).version() == firmware::Version{1, 1, 0};
        },
        kProcessDeadline))
        << "the updater did not flash the controller";
    const std::vector<pid_t> updaters = Running({updater, "true", "../halcyra"});
    ASSERT_EQ(updaters.size(), 1u) << "on the bus: " << Describe();
    ASSERT_TRUE(PressOkOnTheSuccessPage()) << "no success page on the display";
    pid_t program = -1;
    ASSERT_TRUE(Eventually([&] {
        const std::vector<pid_t> found = Running(restarted);
        if (!found.empty()) program = found.front();
        return found.size() == 1;
    })) << "the updater did not start the program again; on the bus: " << Describe();
    EXPECT_EQ(WaitForExit(updaters.front()), 0) << "the updater's exit code";

    // Started with "true", the program opens its firmware prompt as soon as it has the controller.
    EXPECT_TRUE(Eventually([&] {
        return !Xdotool({"search", "--onlyvisible", "--pid", std::to_string(program), "--name", "Firmware \u2013 Halcyra"})
                    .empty();
    })) << "the restarted program shows no firmware prompt";

    // Only the restarted program is on the controller now: the controller's button sends an event
    // report, to which the program answers with status requests, if it has not just read the records.
    const std::uint64_t before = controller_->state().commandsHandled;
    EXPECT_TRUE(Eventually([&] {
        controller_->pressEffectButton();
        std::this_thread::sleep_for(200ms);
        return controller_->state().commandsHandled > before;
    })) << "the restarted program does not talk to the controller";

    ASSERT_EQ(::kill(program, SIGTERM), 0);
    EXPECT_EQ(WaitForExit(program), 0);
}

}  // namespace
}  // namespace program_test
