// The real halcyra as a person (or the session) runs it: one running copy, the companion's notices,
// the end on a termination signal with the controller handed back, and the start without a display.
#include "ProgramProcess.h"

#include "MainWindowFixture.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <array>
#include <cstring>
#include <fstream>
#include <optional>

extern char** environ;

namespace program_test {
namespace {

using namespace std::chrono_literals;

constexpr const char* kHalcyra = HALCYRA_PROGRAM_DIR "/halcyra";

// The main window's fixture (private bus, configuration and desktop folders, virtual controller) with
// a private runtime folder (the single-instance lock, the companion socket) and the offscreen platform
// for the programs it starts.
class ProgramTest : public mainwindow_test::MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        runtime_ = folder_.File("run");
        std::filesystem::create_directory(runtime_);
        std::filesystem::permissions(runtime_, std::filesystem::perms::owner_all);
        environment_.Set("XDG_RUNTIME_DIR", runtime_);
        environment_.Set("QT_QPA_PLATFORM", "offscreen");
    }

    // Binds the companion's socket in the runtime folder.
    void ListenAsCompanion() {
        companion_ = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        ASSERT_GE(companion_, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const std::string path = runtime_ + "/Quillon_Halcyra_Hid";
        std::strncpy(address.sun_path, path.c_str(), sizeof(address.sun_path) - 1);
        ASSERT_EQ(::bind(companion_, reinterpret_cast<const sockaddr*>(&address), sizeof(address)), 0);
    }
    void TearDown() override {
        if (companion_ >= 0) ::close(companion_);
        MainWindowFixture::TearDown();
    }

    // The next notice {message, wParam, lParam}, waiting up to `wait`; nothing when none came.
    std::optional<std::array<std::int64_t, 3>> NextNotice(std::chrono::milliseconds wait = kProcessDeadline) {
        pollfd p{companion_, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(wait.count())) != 1) return std::nullopt;
        std::array<std::uint8_t, 64> datagram{};
        const ssize_t size = ::recv(companion_, datagram.data(), datagram.size(), 0);
        EXPECT_EQ(size, 24);
        std::array<std::int64_t, 3> fields{};
        std::memcpy(fields.data(), datagram.data(), sizeof(fields));
        return fields;
    }

    Process Start(const std::vector<std::string>& words) { return Process(kHalcyra, words, folder_.Path()); }

    std::string runtime_;
    int companion_ = -1;
};

using Notice = std::optional<std::array<std::int64_t, 3>>;
constexpr std::array<std::int64_t, 3> kBeforeWindow{2929, 0, 1};
constexpr std::array<std::int64_t, 3> kAfterWindow{2929, 0, 0};

// The first copy runs without a controller and with "debug", so a message box ("Detect No Device")
// and then the no-device warning are open when SIGTERM comes: both close and the program ends.
TEST_F(ProgramTest, ASecondCopyLeavesAtOnceAndTheCompanionHearsBeforeAndAfterTheWindow) {
    ListenAsCompanion();
    Process first = Start({"debug"});
    ASSERT_TRUE(first.Started());
    EXPECT_EQ(NextNotice(), Notice(kBeforeWindow));

    Process second = Start({"debug"});
    EXPECT_EQ(second.Wait(), 1);
    EXPECT_EQ(second.Output(), "");
    EXPECT_EQ(second.Errors(), "");
    EXPECT_EQ(NextNotice(200ms), std::nullopt) << "the second copy tells the companion nothing";

    ASSERT_TRUE(mainwindow_test::WaitUntil([&] {
        const auto lines = LogMessages();
        return std::find(lines.begin(), lines.end(), "Detect No Device") != lines.end();
    })) << "the first copy did not get to its no-device warning";
    ASSERT_EQ(::kill(first.Pid(), SIGTERM), 0);
    EXPECT_EQ(first.Wait(), 0) << first.Errors();
    EXPECT_EQ(NextNotice(), Notice(kAfterWindow));
    const auto lines = LogMessages();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "App Init"), 1) << "the second copy writes no log";
}

// Each signal of the session's end closes the window as its close button does: the controller gets
// its own operation back (it was in mode 1 while the program ran).
TEST_F(ProgramTest, TerminationSignalsEndTheProgramAndHandTheControllerBack) {
    StartController();
    for (const int number : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(strsignal(number));
        Process program = Start({});
        ASSERT_TRUE(program.Started());
        ASSERT_TRUE(controller_->waitFor([](const simulator::ControllerState& s, bool) { return s.session.mode == 1; },
                                         kProcessDeadline))
            << "the program did not read the controller";
        ASSERT_EQ(::kill(program.Pid(), number), 0);
        EXPECT_EQ(program.Wait(), 0) << program.Errors();
        ASSERT_EQ(ControllerMode(), 0);
    }
}

// The installed program speaks the desktop's language: German from the program folder's Languages/de
// to a German desktop, the program folder's own English to the others.
TEST_F(ProgramTest, TheProgramReadsTheStringDocumentOfTheDesktopsLanguage) {
    const struct {
        const char* lang;
        std::string document;
    } rows[] = {
        {"de_DE.UTF-8", HALCYRA_PROGRAM_DIR "/Languages/de/Strings.xml"},
        {"en_GB.UTF-8", HALCYRA_PROGRAM_DIR "/Strings.xml"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.lang);
        std::filesystem::remove(config::DebugLogFilePath());
        platform_test::ScopedEnvironment locale;
        for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES"}) locale.Unset(name);
        locale.Set("LANG", row.lang);
        Process program = Start({"debug", "nodev"});
        ASSERT_TRUE(program.Started());
        std::string read;
        ASSERT_TRUE(mainwindow_test::WaitUntil([&] {
            for (const std::string& line : LogMessages()) {
                if (line.starts_with("Str Path: ")) read = line.substr(10);
            }
            return !read.empty();
        })) << "the program logged no string document";
        EXPECT_EQ(std::filesystem::weakly_canonical(read), std::filesystem::weakly_canonical(row.document));
        ASSERT_EQ(::kill(program.Pid(), SIGTERM), 0);
        EXPECT_EQ(program.Wait(), 0) << program.Errors();
    }
}

// A display that names no server, or a platform Qt cannot start, ends the program with one line and
// exit code 3, never with Qt's abort.
TEST_F(ProgramTest, ADisplayQtCannotOpenIsOneLineAndExitThree) {
    const struct {
        const char* display;
        const char* platform;
        bool oneLine;  // the Wayland client library prints its own lines before the program's
    } rows[] = {
        {"DISPLAY=:4093", nullptr, true},                    // no X server there
        {"DISPLAY=:4093", "QT_QPA_PLATFORM=xcb", true},
        {"DISPLAY=:4093", "QT_QPA_PLATFORM=x", true},        // a name that only begins one of the plugins' names
        {"WAYLAND_DISPLAY=halcyra-gone", "QT_QPA_PLATFORM=wayland", false},  // a compositor that has gone
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.display) + " " + (row.platform ? row.platform : ""));
        std::vector<std::string> environment;
        for (char** variable = environ; *variable != nullptr; ++variable) {
            const std::string text = *variable;
            const std::string name = text.substr(0, text.find('='));
            if (name != "DISPLAY" && name != "WAYLAND_DISPLAY" && name != "QT_QPA_PLATFORM")
                environment.push_back(text);
        }
        environment.push_back(row.display);
        if (row.platform) environment.push_back(row.platform);
        Process program(kHalcyra, {}, folder_.Path(), environment);
        EXPECT_EQ(program.Wait(), 3) << program.Errors();
        const std::string errors = program.Errors();
        EXPECT_NE(errors.find("halcyra: cannot show the window: "), std::string::npos) << errors;
        if (row.oneLine) {
            EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
        }
    }
}

TEST_F(ProgramTest, WithoutADisplayItSaysSoInOneLineAndEndsWithThree) {
    std::vector<std::string> environment;
    for (char** variable = environ; *variable != nullptr; ++variable) {
        const std::string text = *variable;
        const std::string name = text.substr(0, text.find('='));
        if (name != "DISPLAY" && name != "WAYLAND_DISPLAY" && name != "QT_QPA_PLATFORM") environment.push_back(text);
    }
    Process program(kHalcyra, {}, folder_.Path(), environment);
    EXPECT_EQ(program.Wait(), 3);
    const std::string errors = program.Errors();
    EXPECT_NE(errors.find("no display"), std::string::npos) << errors;
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
    EXPECT_TRUE(errors.ends_with('\n')) << errors;
}

// A program folder whose window mask gives no outline: the main window opens the message box "error"
// while it loads its skin, before it is shown. A signal then still ends the program.
TEST_F(ProgramTest, ATerminationSignalEndsTheProgramWhileTheMaskErrorIsOpen) {
    namespace fs = std::filesystem;
    const fs::path installed = fs::canonical(HALCYRA_PROGRAM_DIR);
    const fs::path copy = folder_.File("program");
    fs::create_directories(copy / "Skins");
    for (const char* file : {"halcyra", "libtarnlink.so"}) fs::copy_file(installed / file, copy / file);
    for (const char* entry : {"Strings.xml", "Skins.xml", "Languages"}) fs::create_symlink(installed / entry, copy / entry);
    for (const fs::directory_entry& resolution : fs::directory_iterator(installed / "Skins")) {
        const fs::path folder = copy / "Skins" / resolution.path().filename();
        fs::create_directory(folder);
        for (const fs::directory_entry& file : fs::directory_iterator(resolution.path()))
            fs::create_symlink(file.path(), folder / file.path().filename());
        fs::remove(folder / "Main_Mask.bmp");
        std::ofstream(folder / "Main_Mask.bmp") << "not a picture";
    }
    Process program((copy / "halcyra").string(), {"debug", "nodev"}, folder_.Path());
    ASSERT_TRUE(program.Started());
    ASSERT_TRUE(mainwindow_test::WaitUntil([&] {
        const auto lines = LogMessages();
        return std::find(lines.begin(), lines.end(), "Ready Init") != lines.end();
    })) << "the program did not get to its skin";
    ASSERT_EQ(::kill(program.Pid(), SIGTERM), 0);
    EXPECT_EQ(program.Wait(10s), 0) << program.Errors();
}

}  // namespace
}  // namespace program_test
