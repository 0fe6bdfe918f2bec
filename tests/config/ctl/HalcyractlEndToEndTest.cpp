// halcyractl end to end: the real program against an in-process virtual controller on a private bus,
// one table of (command line -> exit code, output, controller state). Rows run in order and share the
// controller, so a row sees what the rows before it stored; a row may ask for another setting (no
// controller, the boot loader, the configuration program's lock held, a controller without access).
#include "FakeHidrawTree.h"
#include "HostLink.h"

#include "InstanceNames.h"
#include "SingleInstanceLock.h"
#include "simulator/VirtualController.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace {

using simulator::ControllerState;
using simulator::ProfileLighting;

enum class Setting {
    Controller,     // the controller runs (started when it does not)
    NoController,   // nothing on the bus
    BootLoader,     // a fresh controller that waits in its boot loader
    LockHeld,       // the controller runs and the configuration program's lock is held
    UpdaterRunning, // the controller runs and the firmware updater's lock is held
    AccessDenied,   // nothing on the bus; a controller on hidraw whose node the (unprivileged) run may not open
    ReplyLost,      // the controller runs and drops its reply to one read of effect parameters
};

struct Row {
    const char* arguments;          // after the program name; {dir} is the test's folder
    int exitCode;
    std::vector<const char*> out;   // parts of standard output ({path}: the controller's bus path)
    const char* err = "";           // a part of standard error
    Setting setting = Setting::Controller;
    // The stored profile 0 of the controller afterwards; null: the controller got no command at all.
    std::function<void(const ProfileLighting&)> stored = nullptr;
    bool changesController = true;
};

std::string Replaced(std::string text, const std::string& key, const std::string& value) {
    for (std::size_t at; (at = text.find(key)) != std::string::npos;) text.replace(at, key.size(), value);
    return text;
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Entry bytes the controller keeps (raw values, as sent).
void ExpectEntry(const ProfileLighting& p, std::uint8_t code, std::vector<std::uint8_t> rgb, int speed, int brightness) {
    const auto& entry = p.effectParams[0][code];
    EXPECT_EQ(entry[simulator::kEntryColor1], rgb[0]);
    EXPECT_EQ(entry[simulator::kEntryColor1 + 1], rgb[1]);
    EXPECT_EQ(entry[simulator::kEntryColor1 + 2], rgb[2]);
    if (speed >= 0) {
        EXPECT_EQ(entry[simulator::kEntrySpeed], speed);
    }
    if (brightness >= 0) {
        EXPECT_EQ(entry[simulator::kEntryBrightness], brightness);
    }
}

void ExpectLed(const ProfileLighting& p, int led, std::vector<std::uint8_t> rgb) {
    for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(p.ledColors[0][3 * static_cast<std::size_t>(led - 1) + i], rgb[i]) << "LED " << led;
}

class Halcyractl : public simulator::test::BusTest {
protected:
    void SetUp() override {
        BusTest::SetUp();
        ::setenv("XDG_RUNTIME_DIR", root_.c_str(), 1);  // the configuration program's lock: a private one
        std::ofstream(root_ + "/notes.txt") << "just some text\n";
    }
    void TearDown() override {
        controller_.reset();
        BusTest::TearDown();
    }

    void Prepare(Setting setting) {
        const bool bootLoader = setting == Setting::BootLoader;
        const bool wanted = setting == Setting::Controller || setting == Setting::LockHeld ||
                            setting == Setting::UpdaterRunning ||
                            setting == Setting::ReplyLost || bootLoader;
        if (controller_ && (!wanted || bootLoader || controller_->firmware() != simulator::Firmware::Application))
            controller_.reset();
        if (wanted && !controller_) {
            auto o = options();
            o.startInBootLoader = bootLoader;
            if (bootLoader) std::filesystem::remove(o.stateFile);
            controller_ = startController(o);
            ASSERT_TRUE(controller_);
        }
        if (controller_) controller_->clearFaults();
        if (setting == Setting::ReplyLost) {
            const auto fault = simulator::parseFaultRule("drop:52.2C,times=1");
            ASSERT_TRUE(fault.rule) << fault.error;
            controller_->addFault(*fault.rule);
        }
    }

    // Runs halcyractl; its exit code, and its output in out_ and err_.
    int Run(const std::string& arguments, const std::string& prefix = {}) {
        const std::string command = prefix + HALCYRACTL + " " + arguments + " >" + root_ + "/out.txt 2>" + root_ + "/err.txt";
        const int status = std::system(command.c_str());
        out_ = ReadAll(root_ + "/out.txt");
        err_ = ReadAll(root_ + "/err.txt");
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    void RunRow(const Row& row) {
        const std::string arguments = Replaced(row.arguments, "{dir}", root_);
        SCOPED_TRACE("halcyractl " + arguments);
        Prepare(row.setting);
        platform::SingleInstanceLock lock;
        if (row.setting == Setting::LockHeld) {
            ASSERT_TRUE(lock.Acquire(platform::kConfigurationProgramInstance));
        }
        if (row.setting == Setting::UpdaterRunning) {
            ASSERT_TRUE(lock.Acquire(platform::kUpdaterInstance));
        }
        tarnlink_test::FakeHidrawTree tree;
        std::string prefix;
        if (row.setting == Setting::AccessDenied) {
            tree.add("hidraw4", 0x2516, 0x004F, 0);
            prefix = "TARNLINK_HIDRAW_ROOT=" + tree.root() + " " + tarnlink_test::unprivilegedPrefix();
        }
        const std::uint64_t handledBefore = controller_ ? controller_->state().commandsHandled : 0;

        EXPECT_EQ(Run(arguments, prefix), row.exitCode) << "out: " << out_ << "\nerr: " << err_;
        const std::string path = controller_ ? controller_->devicePath() : std::string();
        for (const char* part : row.out) {
            const std::string wanted = Replaced(part, "{path}", path);
            EXPECT_NE(out_.find(wanted), std::string::npos) << "wanted on standard output: " << wanted << "\nout: " << out_;
        }
        EXPECT_NE(err_.find(row.err), std::string::npos) << "wanted on standard error: " << row.err << "\nerr: " << err_;
        EXPECT_EQ(err_.find("MONITOR"), std::string::npos) << "the link's diagnostics stay off: " << err_;
        if (!controller_) return;
        const ControllerState state = controller_->state();
        if (!row.changesController) {
            EXPECT_EQ(state.commandsHandled, handledBefore) << "nothing was sent";
        }
        if (row.stored) {
            row.stored(state.stored.profiles[0]);
            EXPECT_EQ(state.live.profiles[0], state.stored.profiles[0]) << "what shows is what was stored";
            EXPECT_EQ(state.session.mode, 0) << "the controller is given back to its own operation";
        }
    }

    std::unique_ptr<simulator::VirtualController> controller_;
    std::string out_;
    std::string err_;
};

TEST_F(Halcyractl, CommandLineTable) {
    constexpr std::uint8_t kBreath = simulator::kEffectBreath;
    constexpr std::uint8_t kStatic = simulator::kEffectStatic;
    constexpr std::uint8_t kCustomize = simulator::kEffectCustomize;
    constexpr std::uint8_t kOff = simulator::kEffectOff;
    const auto active = [](std::uint8_t code) {
        return [code](const ProfileLighting& p) { EXPECT_EQ(p.activeEffect[0], code); };
    };
    const Row rows[] = {
        // Listing and status.
        {"list", 0, {"application  firmware 1.0.100", "  {path}\n"}, "", Setting::Controller, nullptr, true},
        {"list --json", 0, {R"({"controllers":[{)", R"("mode":"application")", R"("firmware":"1.0.100")",
                            R"("path":"{path}")", R"("addressed":true)"}},
        // The shown effect with its colour, speed and brightness.
        {"status", 0, {"controller: application  firmware 1.0.100", "profile: 0\n", "effect: STATIC (Static)  colour FFFFFF  brightness "}},
        {"--json status", 0, {R"("effect":"STATIC")", R"("effectCode":0)", R"("profile":0)", R"("color":"FFFFFF")"}},
        {"--version", 0, {"halcyractl 1.0.0\n"}, "", Setting::Controller, nullptr, false},
        {"--json --version", 0, {R"({"version":"1.0.0"})"}, "", Setting::Controller, nullptr, false},
        // Changes, each shown and stored.
        {"effect breath --color 00ff80 --speed 1 --brightness 2", 0,
         {"effect: BREATH (Breathing)  colour 00FF80  speed 1  brightness 2", "stored in the controller"}, "",
         Setting::Controller,
         [&](const ProfileLighting& p) {
             active(kBreath)(p);
             ExpectEntry(p, kBreath, {0x00, 0xFF, 0x80}, 55, 255);  // speed level 1 and brightness level 2, raw
         }},
        {"status", 0, {"effect: BREATH (Breathing)  colour 00FF80  speed 1  brightness 2\n"}},
        {"effect 'Per LED' --colour=102030", 0, {"effect: CUSTOMIZE (Per LED)  LEDs 102030 102030 102030 102030"}, "",
         Setting::Controller,
         [&](const ProfileLighting& p) {
             active(kCustomize)(p);
             for (int led = 1; led <= 4; ++led) ExpectLed(p, led, {0x10, 0x20, 0x30});
         }},
        {"led 3 FF0000", 0, {"LEDs 102030 102030 FF0000 102030"}, "", Setting::Controller,
         [&](const ProfileLighting& p) {
             active(kCustomize)(p);
             ExpectLed(p, 3, {0xFF, 0x00, 0x00});
             ExpectLed(p, 4, {0x10, 0x20, 0x30});
         }},
        {"effect STATIC --color 112233 --brightness 1", 0, {"effect: STATIC (Static)  colour 112233  brightness 1"}, "",
         Setting::Controller,
         [&](const ProfileLighting& p) {
             active(kStatic)(p);
             ExpectEntry(p, kStatic, {0x11, 0x22, 0x33}, -1, 153);
         }},
        // A profile file out of the controller and back into it.
        {"save {dir}/static.Prf", 0, {"saved ", "effect: STATIC (Static)  colour 112233  brightness 1"}, "",
         Setting::Controller, active(kStatic)},
        {"--json effect off", 0, {R"("effect":"OFF")", R"("stored":true)"}, "", Setting::Controller, active(kOff)},
        {"apply {dir}/static.Prf", 0, {"applied ", "effect: STATIC (Static)  colour 112233"}, "", Setting::Controller,
         [&](const ProfileLighting& p) {
             active(kStatic)(p);
             ExpectEntry(p, kStatic, {0x11, 0x22, 0x33}, -1, 153);
             ExpectLed(p, 3, {0xFF, 0x00, 0x00});  // the per-LED colours travelled with the file
         }},
        // A read that misses a reply changes nothing.
        {"effect off", 1, {}, "the controller did not answer while its settings were read; nothing was changed",
         Setting::ReplyLost, active(kStatic)},
        {"status", 1, {}, "the controller did not answer while its settings were read", Setting::ReplyLost,
         active(kStatic)},
        // Bad input: a clear message, its own exit code, and the controller is not touched.
        {"effect SPARKLE", 3, {}, "unknown effect SPARKLE (effects: Static, \"Per LED\", Stars, \"Colour cycle\",",
         Setting::Controller, nullptr, false},
        // A slip gets the nearest name, as a person sees it.
        {"effect strs", 3, {}, "unknown effect strs (did you mean Stars?)", Setting::Controller, nullptr, false},
        {"effect per-lde", 3, {}, "unknown effect per-lde (did you mean \"Per LED\"?)", Setting::Controller, nullptr,
         false},
        {"effect colour_cylce", 3, {}, "(did you mean \"Colour cycle\"?)", Setting::Controller, nullptr, false},
        {"stauts", 2, {}, "unknown command stauts (did you mean status?)", Setting::Controller, nullptr, false},
        {"efect off", 2, {}, "unknown command efect (did you mean effect?)", Setting::Controller, nullptr, false},
        {"--json effect SPARKLE", 3, {R"({"error":"unknown effect SPARKLE)", R"("exitCode":3})"}, "", Setting::Controller, nullptr, false},
        {"effect static --color GG0000", 3, {}, "colour GG0000 is not RRGGBB", Setting::Controller, nullptr, false},
        {"effect static --color 1234567", 3, {}, "colour 1234567 is not RRGGBB", Setting::Controller, nullptr, false},
        {"effect breath --speed 5", 3, {}, "speed 5 is not 0-4", Setting::Controller, nullptr, false},
        {"effect static --brightness 3", 3, {}, "brightness 3 is not 0-2", Setting::Controller, nullptr, false},
        {"effect static --speed 1", 3, {}, "STATIC has no speed", Setting::Controller, nullptr, false},
        {"effect off --color 00FF00", 3, {}, "OFF has no colour", Setting::Controller, nullptr, false},
        {"led 5 FF0000", 3, {}, "LED 5 is not 1-4", Setting::Controller, nullptr, false},
        {"led 1 red", 3, {}, "colour red is not RRGGBB", Setting::Controller, nullptr, false},
        {"apply {dir}/missing.Prf", 4, {}, "cannot read", Setting::Controller, nullptr, false},
        {"apply {dir}/notes.txt", 4, {}, "is not a profile file", Setting::Controller, nullptr, false},
        {"save {dir}/no/such/folder/x.Prf", 4, {}, "cannot write", Setting::Controller},
        {"", 2, {}, "no command given", Setting::Controller, nullptr, false},
        {"frobnicate", 2, {}, "unknown command frobnicate", Setting::Controller, nullptr, false},
        {"effect", 2, {}, "effect takes 1 argument, not 0", Setting::Controller, nullptr, false},
        {"list --speed=1", 2, {}, "halcyractl: --speed belongs to the effect command\n", Setting::Controller, nullptr, false},
        {"status --verbose", 2, {}, "unknown option --verbose", Setting::Controller, nullptr, false},
        {"--help", 0, {"Usage: halcyractl", "Exit codes:"}, "", Setting::Controller, nullptr, false},
        // The controller cannot be used.
        {"status", 7, {}, "the configuration program (or another halcyractl) is using the controller", Setting::LockHeld,
         nullptr, false},
        {"effect off", 7, {}, "the firmware updater is using the controller", Setting::UpdaterRunning, nullptr, false},
        {"status", 5, {}, "no controller found", Setting::NoController},
        {"list", 5, {}, "no controller found", Setting::NoController},
        {"list --json", 5, {R"({"error":"no controller found","exitCode":5})"}, "", Setting::NoController},
        {"status", 6, {}, "A lighting controller was found (", Setting::AccessDenied},
        {"list", 6, {}, "access to it was denied", Setting::AccessDenied},
        {"list", 0, {"boot loader  firmware 1.0.100", "  {path}\n"}, "", Setting::BootLoader},
        {"effect static", 8, {}, "the controller is in its boot loader", Setting::BootLoader},
    };
    for (const Row& row : rows) RunRow(row);
    EXPECT_TRUE(ReadAll(root_ + "/static.Prf").starts_with("\xFF\xFE")) << "a profile file is UTF-16LE with its mark";
}

}  // namespace
