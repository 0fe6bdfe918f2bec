// The real tessaflash in silent mode against an in-process virtual controller on a private bus: the
// exit code of each outcome and what the controller runs afterwards.
#include "FakeHidrawTree.h"
#include "HostLink.h"

#include "firmware/ApplicationImage.h"
#include "firmware/PackageLayout.h"
#include "firmware/Scrambling.h"
#include "simulator/VirtualController.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>

namespace {

using namespace std::chrono_literals;
using simulator::ControllerOptions;
using simulator::ControllerState;
using simulator::Firmware;

constexpr firmware::Version kPackageVersion{1, 1, 0};
constexpr firmware::Version kFreshVersion{1, 0, 100};

simulator::FaultRule fault(const std::string& text) {
    auto parsed = simulator::parseFaultRule(text);
    EXPECT_TRUE(parsed.rule) << parsed.error;
    return parsed.rule.value_or(simulator::FaultRule{});
}

class Tessaflash : public simulator::test::BusTest {
protected:
    void SetUp() override {
        BusTest::SetUp();
        // The single-instance lock lives in the runtime folder: a private one per test.
        ::setenv("XDG_RUNTIME_DIR", root_.c_str(), 1);
    }
    void TearDown() override {
        controller_.reset();
        BusTest::TearDown();
    }

    void start(ControllerOptions o) {
        controller_ = startController(std::move(o));
        ASSERT_TRUE(controller_);
    }
    void restartController() {
        auto o = controller_->options();
        o.faults.clear();
        controller_.reset();
        start(o);
    }

    // Runs the program and returns its exit code; its standard error is kept in errors_, its standard
    // output in output_.
    int run(const std::string& arguments, const char* program = TESSAFLASH, const std::string& prefix = {}) {
        const std::string errorFile = root_ + "/stderr.txt";
        const std::string outputFile = root_ + "/stdout.txt";
        const std::string command = prefix + program + " " + arguments + " 2>" + errorFile + " >" + outputFile;
        const int status = std::system(command.c_str());
        errors_ = fileText(errorFile);
        output_ = fileText(outputFile);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    static std::string fileText(const std::string& path) {
        std::ifstream in(path);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    // The controller back on the bus by itself (after a restart of the firmware) or by a plug-in.
    void waitOnBus(bool plugInIfAway) {
        if (plugInIfAway && !controller_->onBus()) controller_->plugIn();
        ASSERT_TRUE(controller_->waitFor([](const ControllerState&, bool onBus) { return onBus; }, 10s));
    }

    bool runs(Firmware firmware, firmware::Version version, std::size_t target = 0) {
        return controller_->waitFor(
            [&](const ControllerState& s, bool onBus) {
                return onBus && s.firmware == firmware && s.targets.at(target).version() == version &&
                       s.targets.at(target).imageState() == firmware::ImageState::Valid;
            },
            10s);
    }

    std::unique_ptr<simulator::VirtualController> controller_;
    std::string errors_;
    std::string output_;
};

TEST_F(Tessaflash, UpdatesAndTheNewFirmwareSurvivesARestart) {
    start(options());
    EXPECT_EQ(run("-silent"), 0) << errors_;
    EXPECT_TRUE(runs(Firmware::Application, kPackageVersion));
    EXPECT_NE(errors_.find("writing the image"), std::string::npos) << "progress lines: " << errors_;
    restartController();
    EXPECT_TRUE(runs(Firmware::Application, kPackageVersion));
}

// Where no person can see a window (a display variable naming no server, the offscreen platform), the
// update runs as without a window, says so in one line and ends; nothing aborts or waits for ever.
TEST_F(Tessaflash, WithoutAUsableDisplayItUpdatesAsSilentAndEnds) {
    struct Row {
        const char* name;
        const char* environment;
    };
    const Row rows[] = {
        {"stale display", "env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY=:97 "},
        {"stale wayland display", "env -u DISPLAY -u QT_QPA_PLATFORM WAYLAND_DISPLAY=wayland-97 "},
        {"offscreen platform", "env QT_QPA_PLATFORM=offscreen "},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto o = options();
        start(o);
        EXPECT_EQ(run("true", TESSAFLASH, std::string(row.environment) + "timeout 60 "), 0) << errors_;
        EXPECT_NE(errors_.find("updating as with -silent"), std::string::npos) << errors_;
        EXPECT_TRUE(runs(Firmware::Application, kPackageVersion));
        controller_.reset();
        std::filesystem::remove(o.stateFile);
    }
}

// Asking for help or the versions, in either form, prints them and flashes nothing, with or without a
// display.
TEST_F(Tessaflash, HelpAndVersionFlashNothing) {
    struct Row {
        const char* arguments;
        const char* printed;
    };
    const Row rows[] = {
        {"--help", "-silent  \t:don't show ui and auto to update fw\n"},
        {"-h", "/?  \t\t:help Info\n"},
        {"/?", "/?  \t\t:help Info\n"},
        {"-silent /help", "-force  \t:force to update fw (Ignore Ver)\n"},
        {"--version", "Marovell Tessaflash V1.00\nfirmware package V1.10\n"},
    };
    start(options());
    for (const Row& row : rows) {
        for (const char* environment : {"env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM ", "env QT_QPA_PLATFORM=offscreen "}) {
            SCOPED_TRACE(std::string(row.arguments) + " with " + environment);
            EXPECT_EQ(run(row.arguments, TESSAFLASH, environment), 0) << errors_;
            EXPECT_NE(output_.find(row.printed), std::string::npos) << output_;
        }
    }
    EXPECT_TRUE(runs(Firmware::Application, kFreshVersion)) << "nothing was flashed";
}

// A word starting with "-" that no form knows is named in one line with where to find the forms, and the
// run ends without an update, with or without a display: a person asking for help another way, or
// mistyping an option, never gets the controller flashed.
TEST_F(Tessaflash, AnUnknownOptionIsNamedAndFlashesNothing) {
    struct Row {
        const char* arguments;
        const char* named;
    };
    const Row rows[] = {
        {"-help", "'-help'"},
        {"-V", "'-V'"},
        {"-silent --dry-run", "'--dry-run'"},
        {"true ../halcyra -Force", "'-Force'"},
    };
    start(options());
    for (const Row& row : rows) {
        for (const char* environment : {"env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM ", "env QT_QPA_PLATFORM=offscreen "}) {
            SCOPED_TRACE(std::string(row.arguments) + " with " + environment);
            EXPECT_EQ(run(row.arguments, TESSAFLASH, environment + std::string("timeout 60 ")), 8) << errors_;
            EXPECT_NE(errors_.find(std::string("unknown option ") + row.named), std::string::npos) << errors_;
            EXPECT_NE(errors_.find("--help"), std::string::npos) << errors_;
            EXPECT_EQ(std::count(errors_.begin(), errors_.end(), '\n'), 1) << errors_;
            EXPECT_EQ(output_, "");
        }
    }
    EXPECT_TRUE(runs(Firmware::Application, kFreshVersion)) << "nothing was flashed";
}

TEST_F(Tessaflash, WithoutAControllerEndsWithTwo) {
    EXPECT_EQ(run("-silent"), 2) << errors_;
    EXPECT_NE(errors_.find("no controller found"), std::string::npos) << errors_;
}

// The links' trace lines are for a person who asks for them; a script sees only the run's own lines.
TEST_F(Tessaflash, TraceLinesOnlyWhenDebuggingIsAskedFor) {
    EXPECT_EQ(run("-silent"), 2) << errors_;
    EXPECT_EQ(errors_.find("MONITOR"), std::string::npos) << errors_;
    start(options());
    EXPECT_EQ(run("-silent"), 0) << errors_;
    EXPECT_EQ(errors_.find("MONITOR"), std::string::npos) << errors_;
    EXPECT_EQ(run("-silent -force", TESSAFLASH, "env HALCYRA_DEBUG=1 "), 0) << errors_;
    EXPECT_NE(errors_.find("MONITOROPEN:dwDeviceID="), std::string::npos) << errors_;
}

// A controller on hidraw whose node this user may not open: still exit code 2, but the line says that
// a controller was found, that access was denied and how to get it.
// The unprivileged run uses a copy of the program in a folder that user can read: the checkout may sit
// in one it cannot (a 0700 home, /root, a mktemp -d folder).
TEST_F(Tessaflash, AControllerWithoutAccessIsExplained) {
    tarnlink_test::FakeHidrawTree tree;
    tree.add("hidraw7", 0x2516, 0x004F, 0);
    char pattern[] = "/tmp/tessaflash-copy-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    const std::filesystem::path folder = pattern;
    const std::filesystem::path program = folder / "tessaflash";
    std::filesystem::copy_file(TESSAFLASH, program);
    namespace fs = std::filesystem;
    fs::permissions(folder, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                fs::perms::others_read | fs::perms::others_exec);
    fs::permissions(program, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                 fs::perms::others_read | fs::perms::others_exec);
    ::setenv("TARNLINK_HIDRAW_ROOT", tree.root().c_str(), 1);
    const int code = run("-silent", program.c_str(), tarnlink_test::unprivilegedPrefix());
    ::unsetenv("TARNLINK_HIDRAW_ROOT");
    std::error_code ignored;
    fs::remove_all(folder, ignored);
    EXPECT_EQ(code, 2) << errors_;
    for (const char* part : {"controller was found (", "/dev/hidraw7", "access to it was denied", "70-tarnlink.rules"})
        EXPECT_NE(errors_.find(part), std::string::npos) << part << " in: " << errors_;
    EXPECT_EQ(errors_.find("no controller found"), std::string::npos) << errors_;
}

TEST_F(Tessaflash, ARecordMismatchEndsWithThreeAndFlashesNothing) {
    struct Row {
        const char* name;
        void (*change)(firmware::FwInfo&);
    };
    const Row rows[] = {
        {"hardware signature", [](firmware::FwInfo& f) { f.signature[0] ^= 0x20; }},
        {"layout", [](firmware::FwInfo& f) { f.layoutId = 7; }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto o = options();
        row.change(o.targets[0].fwInfo);
        start(o);
        EXPECT_EQ(run("-silent"), 3) << errors_;
        EXPECT_TRUE(runs(Firmware::Application, kFreshVersion));
        controller_.reset();
        std::filesystem::remove(o.stateFile);
    }
}

// A copy of the updater whose package's information block `change` alters; returns its path.
std::string patchedUpdater(const std::string& folder, void (*change)(firmware::FirmwareInfoBlock&)) {
    std::ifstream in(TESSAFLASH, std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.size() < firmware::kInfoBlockBytes) return {};
    const std::span<std::uint8_t> block(bytes.data() + bytes.size() - firmware::kInfoBlockBytes, firmware::kInfoBlockBytes);
    firmware::descrambleBlock(block);
    firmware::FirmwareInfoBlock info;
    std::memcpy(&info, block.data(), sizeof info);
    change(info);
    std::memcpy(block.data(), &info, sizeof info);
    firmware::scrambleBlock(block);
    const std::string program = folder + "/Tessaflash/tessaflash";
    std::filesystem::create_directories(folder + "/Tessaflash");
    std::ofstream(program, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                   static_cast<std::streamsize>(bytes.size()));
    std::filesystem::permissions(program, std::filesystem::perms::owner_all);
    return program;
}

// A package that cannot be flashed is found out before the controller is touched: it keeps running
// its working firmware, however often the updater is run.
TEST_F(Tessaflash, AnUnflashablePackageLeavesTheControllerAlone) {
    const std::string program = patchedUpdater(root_ + "/zero", [](firmware::FirmwareInfoBlock& i) { i.bytesPerWrite = 0; });
    ASSERT_FALSE(program.empty());
    for (const bool inBootLoader : {false, true}) {
        SCOPED_TRACE(inBootLoader ? "in its boot loader" : "in its application firmware");
        auto o = options();
        o.startInBootLoader = inBootLoader;
        start(o);
        for (int attempt = 0; attempt < 2; ++attempt) EXPECT_EQ(run("-silent", program.c_str()), 5) << errors_;
        EXPECT_NE(errors_.find("data length"), std::string::npos) << errors_;
        const auto state = controller_->state();
        EXPECT_EQ(state.firmware, inBootLoader ? Firmware::BootLoader : Firmware::Application);
        EXPECT_EQ(state.targets.at(0).version(), kFreshVersion);
        EXPECT_EQ(state.targets.at(0).imageState(), firmware::ImageState::Valid);
        controller_.reset();
        std::filesystem::remove(o.stateFile);
    }
}

// Sent into its boot loader, the controller is re-plugged and comes back in its application firmware
// (here it refuses the command): the run reports that, not "no controller".
TEST_F(Tessaflash, AControllerBackInItsApplicationInsteadOfItsBootLoaderIsReported) {
    auto o = options();
    o.faults.push_back(fault("error:11.00"));
    start(o);
    int code = -1;
    std::thread updater([&] { code = run("-silent"); });
    std::this_thread::sleep_for(3s);   // the records are read and the request is sent within ~1.5 s
    controller_->unplug();
    std::this_thread::sleep_for(200ms);
    controller_->plugIn();
    updater.join();
    EXPECT_EQ(code, 1) << errors_;
    EXPECT_NE(errors_.find("came back in its application firmware"), std::string::npos) << errors_;
    EXPECT_EQ(errors_.find("no controller"), std::string::npos) << errors_;
    EXPECT_TRUE(runs(Firmware::Application, kFreshVersion));
}

// The controller sent into its boot loader takes its time to come back, and meanwhile a second
// controller (in its boot loader, or in its application firmware) joins the bus. Whatever the run ends
// up doing, it must not end with 0 while the first controller sits in its boot loader. A newcomer in its
// application firmware is named as soon as the first one's boot loader is there (not after the wait for
// a boot loader that never ends), and the first one, untouched, goes back to its firmware.
TEST_F(Tessaflash, ASecondControllerArrivingWhileTheFirstRestartsStrandsNothingSilently) {
    struct Row {
        bool inBootLoader;
        const char* says;   // nullptr: any failure that names what happened
    };
    const Row rows[] = {
        {true, nullptr},
        {false, "second controller in its application firmware joined while this one restarted"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.inBootLoader ? "newcomer in its boot loader" : "newcomer in its application firmware");
        auto o = options();
        o.faults.push_back(fault("leave:11.00,ms=1500"));
        start(o);
        int code = -1;
        const auto started = std::chrono::steady_clock::now();
        std::thread updater([&] { code = run("-silent"); });
        ASSERT_TRUE(controller_->waitFor([](const ControllerState&, bool onBus) { return !onBus; }, 20s));
        std::this_thread::sleep_for(100ms);
        auto other = options();
        other.name = "newcomer";
        other.stateFile = root_ + "/newcomer.state";
        other.startInBootLoader = row.inBootLoader;
        auto newcomer = startController(other);
        ASSERT_TRUE(newcomer);
        updater.join();
        const auto took = std::chrono::steady_clock::now() - started;
        waitOnBus(false);
        const bool firstUpdated = runs(Firmware::Application, kPackageVersion);
        EXPECT_TRUE(firstUpdated || code != 0) << "exit 0 with the first controller in its boot loader\n" << errors_;
        if (row.says) {
            EXPECT_EQ(code, 1) << errors_;
            EXPECT_NE(errors_.find(row.says), std::string::npos) << errors_;
            // The wait for the boot loader is 20 s; the boot loader came after 1.5 s.
            EXPECT_LT(took, 15s) << "the run waited for a boot loader that had come";
            EXPECT_TRUE(runs(Firmware::Application, kFreshVersion)) << "the first controller is back on its firmware";
        }
        newcomer.reset();
        controller_.reset();
        std::filesystem::remove(o.stateFile);
        std::filesystem::remove(other.stateFile);
    }
}

TEST_F(Tessaflash, AnEqualVersionIsRefusedUnlessForced) {
    auto o = options();
    o.targets[0].freshVersion = kPackageVersion;
    start(o);
    EXPECT_EQ(run("-silent"), 4) << errors_;
    EXPECT_NE(errors_.find("already installed"), std::string::npos) << errors_;
    for (const char* forced : {"-silent -force", "-silent bin:1"}) {
        SCOPED_TRACE(forced);
        EXPECT_EQ(run(forced), 0) << errors_;
        EXPECT_TRUE(runs(Firmware::Application, kPackageVersion));
    }
}

TEST_F(Tessaflash, FlashesAControllerThatStartsInItsBootLoader) {
    auto o = options();
    o.startInBootLoader = true;
    start(o);
    EXPECT_EQ(run("-silent"), 0) << errors_;
    EXPECT_TRUE(runs(Firmware::Application, kPackageVersion));
}

TEST_F(Tessaflash, SearchesThreeTargetsAndFlashesTheOneWhoseLayoutFits) {
    auto o = options();
    o.targets = {simulator::defaultTargetConfig(), simulator::defaultTargetConfig(), simulator::defaultTargetConfig()};
    o.targets[1].fwInfo.layoutId = 2;
    o.targets[2].fwInfo.layoutId = 3;   // the search package's only layout
    start(o);
    EXPECT_EQ(run("-silent", TESSAFLASH_SEARCH), 0) << errors_;
    const auto state = controller_->state();
    EXPECT_EQ(state.targets[2].version(), kPackageVersion);
    EXPECT_EQ(state.targets[0].version(), kFreshVersion);
    EXPECT_EQ(state.targets[1].version(), kFreshVersion);
}

TEST_F(Tessaflash, ASecondUpdaterEndsAtOnce) {
    start(options());
    // flock(1) holds the lock file the way a running updater does while the second one starts.
    const std::string lockFile = root_ + "/VORANTH_FW_UPDATE_MUTEX";
    std::ofstream(lockFile).put('\n');
    const std::string command = "flock -n " + lockFile + " -c '" + TESSAFLASH + " -silent 2>/dev/null'";
    const int status = std::system(command.c_str());
    EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 6);
    EXPECT_TRUE(runs(Firmware::Application, kFreshVersion)) << "the second updater flashed nothing";
}

// What the controller runs after a row; a plain second run then must leave it on the new firmware.
enum class After {
    NewFirmware,         // the update went through
    BootLoaderErased,    // in its boot loader, the version area and image header erased
    BootLoaderDamaged,   // in its boot loader with a half-written image (it left the bus while writing)
    OldFirmware,         // nothing was flashed (it never came back in its boot loader)
};

// A second controller of the same kind that is plugged in while the image is written.
enum class Newcomer { None, InBootLoader, InApplication };

struct FaultRow {
    const char* name;
    std::vector<const char*> faults;
    int exitCode;
    After after;
    Newcomer newcomer = Newcomer::None;
    const char* says = nullptr;   // a text the run's lines must hold
    // Changes the package's information block for the first run (the second run uses the plain one).
    void (*package)(firmware::FirmwareInfoBlock&) = nullptr;
};

void imageOneByteShort(firmware::FirmwareInfoBlock& info) { info.entries[0].imageBytes -= 1; }
void noVersionBlock(firmware::FirmwareInfoBlock& info) { info.entries[0].versionBlockBytes = 0; }
void versionTheImageDoesNotCarry(firmware::FirmwareInfoBlock& info) { info.entries[0].versionBuild += 1; }

const std::vector<FaultRow> kFaultMatrix = {
    {"lost_write_replies_within_retries", {"drop:1f,skip=20,times=3"}, 0, After::NewFirmware},
    {"lost_write_replies_beyond_retries", {"drop:1f,skip=20,times=15"}, 1, After::BootLoaderErased},
    {"write_address_mismatch", {"address:1f,skip=10,times=2"}, 0, After::NewFirmware},
    {"same_wrong_checksum_twice", {"checksum:1d.01"}, 1, After::BootLoaderErased},
    {"changing_wrong_checksum", {"checksum-changing:1d.01,times=2"}, 0, After::NewFirmware},
    {"unplugged_while_writing", {"leave:1f,skip=40,times=1"}, 1, After::BootLoaderDamaged},
    {"never_back_after_enter_boot_loader", {"leave:11.00"}, 1, After::OldFirmware},
    // After flashing it comes back on its new firmware just before the 20 s wait ends, and settles just
    // after: it did come back, so the update counts.
    {"back_on_new_firmware_just_before_the_wait_ends", {"leave:11.01,ms=19300"}, 0, After::NewFirmware},
    // The update belongs to the controller it started on: a newcomer neither takes over the writes nor
    // gets them, and the first controller ends updated. A second one in its boot loader cannot be told
    // from the first (it may have come while the first restarted), so that run does not end with 0; nor
    // does a run that cannot ask the first whether it started its new firmware, because the second one
    // holds the application link.
    {"second_controller_in_boot_loader_at_30_percent", {"delay:1f,ms=10"}, 1, After::NewFirmware, Newcomer::InBootLoader,
     "second controller in its boot loader"},
    {"second_controller_in_application_at_30_percent", {"delay:1f,ms=10"}, 1, After::NewFirmware, Newcomer::InApplication,
     "second controller in its application firmware joined during the update"},
    // The boot loader's records cannot be read: nothing was written, so the controller is sent back to
    // its firmware and the line names the records, not the layout.
    {"boot_loader_records_unreadable", {"drop:12.00,skip=1"}, 3, After::OldFirmware, Newcomer::None, "Get Info Error!"},
    // A package built wrong flashes without a fault of the link, and the controller does not start what
    // it got: the run fails and says so instead of reporting an update.
    {"image_length_one_byte_short", {}, 1, After::BootLoaderDamaged, Newcomer::None, "did not start the new firmware",
     imageOneByteShort},
    {"version_block_length_zero", {}, 1, After::BootLoaderDamaged, Newcomer::None, "did not start the new firmware",
     noVersionBlock},
    // The image starts, but on another version than the package promised (the controller kept or got
    // other firmware): not the update that was asked for.
    {"back_on_another_version_than_promised", {}, 1, After::NewFirmware, Newcomer::None, "did not start the new firmware",
     versionTheImageDoesNotCarry},
};

class FaultMatrix : public Tessaflash, public ::testing::WithParamInterface<FaultRow> {
protected:
    void TearDown() override {
        newcomer_.reset();
        Tessaflash::TearDown();
    }

    // Runs the updater; once 30 % of the image is written, a second controller joins the bus.
    void runWithNewcomerAt30Percent(bool inBootLoader) {
        int code = -1;
        std::thread updater([&] { code = run("-silent"); });
        const auto fwInfo = controller_->options().targets.at(0).fwInfo;
        const std::uint32_t mark = fwInfo.imageStart + 2400;   // 30 % of the package's 8000-byte image
        const bool reached = controller_->waitFor(
            [&](const ControllerState& s, bool) {
                return s.firmware == Firmware::BootLoader && s.targets.at(0).writeAddress >= mark;
            },
            20s);
        EXPECT_TRUE(reached) << "the update never reached 30 %";
        auto o = options();
        o.name = "newcomer";
        o.stateFile = root_ + "/newcomer.state";
        o.startInBootLoader = inBootLoader;
        newcomer_ = startController(o);
        updater.join();
        EXPECT_EQ(code, GetParam().exitCode) << errors_;
    }

    std::unique_ptr<simulator::VirtualController> newcomer_;
};

TEST_P(FaultMatrix, EndsWithItsCodeAndASecondRunSucceeds) {
    auto o = options();
    for (const char* text : GetParam().faults) o.faults.push_back(fault(text));
    start(o);
    if (GetParam().package) {
        const std::string program = patchedUpdater(root_ + "/patched", GetParam().package);
        ASSERT_FALSE(program.empty());
        EXPECT_EQ(run("-silent", program.c_str()), GetParam().exitCode) << errors_;
    } else if (GetParam().newcomer == Newcomer::None) {
        EXPECT_EQ(run("-silent"), GetParam().exitCode) << errors_;
    } else {
        runWithNewcomerAt30Percent(GetParam().newcomer == Newcomer::InBootLoader);
        ASSERT_TRUE(newcomer_);
        const auto other = newcomer_->state();
        EXPECT_EQ(other.firmware, GetParam().newcomer == Newcomer::InBootLoader ? Firmware::BootLoader : Firmware::Application);
        EXPECT_EQ(other.targets.at(0).version(), kFreshVersion) << "the newcomer was flashed";
        newcomer_.reset();
    }
    if (GetParam().says) {
        EXPECT_NE(errors_.find(GetParam().says), std::string::npos) << errors_;
    }

    controller_->clearFaults();
    waitOnBus(true);
    const auto state = controller_->state();
    const auto& target = state.targets.at(0);
    const firmware::Record apInfo = target.apInfoRecord();
    const bool headerErased = std::all_of(apInfo.begin(), apInfo.end(), [](std::uint8_t b) { return b == 0xFF; });
    switch (GetParam().after) {
    case After::NewFirmware: EXPECT_TRUE(runs(Firmware::Application, kPackageVersion)); break;
    case After::BootLoaderErased:
        EXPECT_EQ(state.firmware, Firmware::BootLoader);
        EXPECT_TRUE(headerErased);
        break;
    case After::BootLoaderDamaged:
        EXPECT_EQ(state.firmware, Firmware::BootLoader);
        EXPECT_NE(target.imageState(), firmware::ImageState::Valid);
        break;
    case After::OldFirmware: EXPECT_TRUE(runs(Firmware::Application, kFreshVersion)); break;
    }

    // A plain second run: it flashes what the first left undone, or finds the new firmware current.
    const int secondExpected = GetParam().after == After::NewFirmware ? 4 : 0;
    EXPECT_EQ(run("-silent"), secondExpected) << "second run: " << errors_;
    EXPECT_TRUE(runs(Firmware::Application, kPackageVersion));
}

INSTANTIATE_TEST_SUITE_P(Tessaflash, FaultMatrix, ::testing::ValuesIn(kFaultMatrix),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
