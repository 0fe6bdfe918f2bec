// Controllers that are present but cannot be opened: found in a made-up hidraw tree whose nodes the
// test makes unreadable, looked at by an unprivileged process (the kernel, not the test, refuses the
// open), and the text that tells the person how to get access.
#include "AccessDeniedText.h"
#include "FakeHidrawTree.h"
#include "HidrawAccess.h"

#include <gtest/gtest.h>

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

namespace {

using tarnlink::DeniedController;
using tarnlink_test::FakeHidrawTree;

// The nodes findDeniedControllers reports for `tree`, seen by an unprivileged user: a child process
// drops to "nobody" when the test runs as root, then hands its answer back through a pipe.
std::string deniedNodesAsUnprivilegedUser(const tarnlink::HidrawTree& tree) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) return "pipe failed";
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeFds[0]);
        if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setresgid(65534, 65534, 65534) != 0 ||
                                 ::setresuid(65534, 65534, 65534) != 0))
            ::_exit(2);
        std::string answer;
        for (const DeniedController& c : tarnlink::findDeniedControllers(tree))
            answer += c.node.substr(c.node.rfind('/') + 1) + (c.bootLoader() ? "(boot) " : " ");
        const ssize_t written = ::write(pipeFds[1], answer.data(), answer.size());
        ::_exit(written == static_cast<ssize_t>(answer.size()) ? 0 : 3);
    }
    ::close(pipeFds[1]);
    std::string answer;
    char buffer[256];
    for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;) answer.append(buffer, static_cast<std::size_t>(n));
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return "child failed with status " + std::to_string(status);
    return answer;
}

TEST(AccessDenied, FindsTheControllersWhoseNodesCannotBeOpened) {
    FakeHidrawTree tree;
    tree.add("hidraw0", 0x046D, 0xC52B, 0);      // another device, unreadable: not ours
    tree.add("hidraw1", 0x2516, 0x004F, 0);      // the controller, unreadable
    tree.add("hidraw2", 0x2516, 0x004F, 0666);   // a second controller that opens
    tree.add("hidraw3", 0x2516, 0x0050, 0);      // a controller in its boot loader, unreadable
    tree.add("hidraw4", 0x2516, 0x004F, -1);     // listed, but its node is gone: absent, not denied
    tree.add("hidraw5", 0x2516, 0x0051, 0);      // another product of the same vendor
    EXPECT_EQ(deniedNodesAsUnprivilegedUser({tree.classFolder(), tree.deviceFolder()}), "hidraw1 hidraw3(boot) ");
}

TEST(AccessDenied, NothingIsReportedWhenEveryControllerOpensOrNoneIsThere) {
    FakeHidrawTree tree;
    EXPECT_EQ(deniedNodesAsUnprivilegedUser({tree.classFolder(), tree.deviceFolder()}), "");
    tree.add("hidraw0", 0x2516, 0x004F, 0666);
    EXPECT_EQ(deniedNodesAsUnprivilegedUser({tree.classFolder(), tree.deviceFolder()}), "");
    EXPECT_TRUE(tarnlink::findDeniedControllers({"/nonexistent/class", "/nonexistent/dev"}).empty());
}

TEST(AccessDenied, TheRootVariableMovesTheSystemTree) {
    ::setenv("TARNLINK_HIDRAW_ROOT", "/srv/fake", 1);
    const auto moved = tarnlink::systemHidrawTree();
    ::unsetenv("TARNLINK_HIDRAW_ROOT");
    EXPECT_EQ(moved.classFolder, "/srv/fake/sys/class/hidraw");
    EXPECT_EQ(moved.deviceFolder, "/srv/fake/dev");
    const auto system = tarnlink::systemHidrawTree();
    EXPECT_EQ(system.classFolder, "/sys/class/hidraw");
    EXPECT_EQ(system.deviceFolder, "/dev");
}

TEST(AccessDenied, ReadsTheIdsOfAHidUevent) {
    struct Row {
        const char* text;
        bool ok;
        std::uint16_t vendor;
        std::uint16_t product;
    };
    const Row rows[] = {
        {"DRIVER=hid-generic\nHID_ID=0003:00002516:0000004F\nHID_NAME=x\n", true, 0x2516, 0x004F},
        {"HID_ID=0003:00002516:00000050", true, 0x2516, 0x0050},
        {"HID_ID=0005:0000abcd:0000ef01\n", true, 0xABCD, 0xEF01},
        {"HID_NAME=no id here\n", false, 0, 0},
        {"HID_ID=0003-00002516-0000004F\n", false, 0, 0},
        {"HID_ID=0003:00012516:0000004F\n", false, 0, 0},  // beyond 16 bits
        {"", false, 0, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        std::uint16_t vendor = 0;
        std::uint16_t product = 0;
        ASSERT_EQ(tarnlink::parseHidIdentity(row.text, vendor, product), row.ok);
        if (row.ok) {
            EXPECT_EQ(vendor, row.vendor);
            EXPECT_EQ(product, row.product);
        }
    }
}

TEST(AccessDeniedText, NamesTheNodesTheRuleTheReplugAndTheGroup) {
    EXPECT_EQ(tarnlink::accessDeniedText({}), "");
    const std::string text = tarnlink::accessDeniedText(
        {{"/dev/hidraw1", 0x2516, 0x004F, EACCES}, {"/dev/hidraw3", 0x2516, 0x0050, EACCES}});
    for (const char* part : {"controller was found (/dev/hidraw1, /dev/hidraw3 in its boot loader)",
                             "access to it was denied", "/usr/lib/udev/rules.d/", "70-tarnlink.rules",
                             "unplug the controller and plug it in again", "remote session",
                             "group plugdev", "sudo adduser $USER plugdev"})
        EXPECT_NE(text.find(part), std::string::npos) << part << "\nin: " << text;
}

// The text promises what the shipped rule does: its file name, and group access for remote sessions.
TEST(AccessDeniedText, AgreesWithTheShippedRule) {
    const std::filesystem::path rule = std::filesystem::path(TARNLINK_UDEV_FOLDER) / tarnlink::kUdevRuleName;
    std::ifstream in(rule);
    ASSERT_TRUE(in) << rule;
    std::stringstream content;
    content << in.rdbuf();
    int ruleLines = 0;
    for (std::string line; std::getline(content, line);) {
        if (line.empty() || line.front() == '#') continue;
        ++ruleLines;
        SCOPED_TRACE(line);
        EXPECT_NE(line.find("TAG+=\"uaccess\""), std::string::npos);
        EXPECT_NE(line.find("GROUP=\"" + std::string(tarnlink::kAccessGroup) + "\""), std::string::npos);
        EXPECT_NE(line.find("MODE=\"0660\""), std::string::npos);
    }
    EXPECT_EQ(ruleLines, 2) << "application firmware and boot loader";
}

}  // namespace
