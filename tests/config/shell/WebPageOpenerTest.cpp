#include "DesktopExec.h"
#include "WebPageOpener.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr const char* kAddress = "https://a.example/x?q=1&r=%20";

// A desktop with or without a portal and xdg-open, whose default browser is `desktopFile`; records
// what was started.
struct FakeDesktop {
    bool portal = false;
    bool xdgOpen = false;
    std::string handler = "browser.desktop";
    std::optional<std::string> desktopFile;
    bool startSucceeds = true;
    std::vector<QString> portalAddresses;
    std::vector<QStringList> starts;  // the program first, then its arguments

    config::WebBrowserServices Services() {
        return {[this](const QString& address) {
                    if (portal) portalAddresses.push_back(address);
                    return portal;
                },
                [this](const std::string& program) { return xdgOpen && program == "xdg-open"; },
                [this] { return handler; },
                [this](const std::string& id) { return id == handler ? desktopFile : std::nullopt; },
                [this](const QString& program, const QStringList& arguments) {
                    starts.push_back(QStringList{program} + arguments);
                    return startSucceeds;
                }};
    }
};

std::string Entry(const std::string& exec) {
    return "[Desktop Entry]\nName=Browser\nExec=" + exec + "\n[Desktop Action new]\nExec=/other --new\n";
}

// The default browser's entry as snap, flatpak and a distribution install it, and the Exec rules.
TEST(WebPageOpener, DefaultBrowserEntriesStartWithTheAddress) {
    struct Case {
        const char* what;
        const char* exec;
        QStringList started;
    };
    const Case cases[] = {
        {"snap", "env BAMF_DESKTOP_FILE_HINT=/var/lib/snapd/desktop/applications/firefox_firefox.desktop "
                 "/snap/bin/firefox %u",
         {"env", "BAMF_DESKTOP_FILE_HINT=/var/lib/snapd/desktop/applications/firefox_firefox.desktop",
          "/snap/bin/firefox", kAddress}},
        {"flatpak", "/usr/bin/flatpak run --branch=stable --arch=x86_64 --command=firefox --file-forwarding "
                    "org.mozilla.firefox @@u %u @@",
         {"/usr/bin/flatpak", "run", "--branch=stable", "--arch=x86_64", "--command=firefox", "--file-forwarding",
          "org.mozilla.firefox", "@@u", kAddress, "@@"}},
        {"plain", "/usr/lib/firefox/firefox %u", {"/usr/lib/firefox/firefox", kAddress}},
        {"list of addresses, icon and name codes", "chromium %U --class=%c %i", {"chromium", kAddress, "--class="}},
        {"quoted program in a folder with blanks", R"("/opt/My Browser/browser" --new-window %u)",
         {"/opt/My Browser/browser", "--new-window", kAddress}},
        {"quoted escapes and the value's own", R"(/b "a \"q\" \\\\ \\$x" "c\sd" 100%%)",
         {"/b", R"(a "q" \ $x)", "c d", "100%", kAddress}},
        {"no field code: the address goes last", "/b --private", {"/b", "--private", kAddress}},
        {"a field code inside a word", "/b --url=%u", {"/b", "--url=" + QString(kAddress)}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        FakeDesktop desktop;
        desktop.desktopFile = Entry(test.exec);
        EXPECT_EQ(config::OpenWebPage(kAddress, desktop.Services()), 0);
        ASSERT_EQ(desktop.starts.size(), 1u);
        EXPECT_EQ(desktop.starts[0], test.started);
    }
}

TEST(WebPageOpener, ThePortalComesFirstThenXdgOpenThenTheEntry) {
    struct Case {
        const char* what;
        bool portal;
        bool xdgOpen;
        std::vector<QStringList> starts;
    };
    const Case cases[] = {
        {"portal", true, true, {}},
        {"no portal", false, true, {{"xdg-open", kAddress}}},
        {"neither", false, false, {{"/b", kAddress}}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        FakeDesktop desktop;
        desktop.portal = test.portal;
        desktop.xdgOpen = test.xdgOpen;
        desktop.desktopFile = Entry("/b %u");
        EXPECT_EQ(config::OpenWebPage(kAddress, desktop.Services()), 0);
        EXPECT_EQ(desktop.starts, test.starts);
        EXPECT_EQ(desktop.portalAddresses.size(), test.portal ? 1u : 0u);
    }
}

TEST(WebPageOpener, FailuresGiveMinusOne) {
    struct Case {
        const char* what;
        QString address;
        std::string handler;
        std::optional<std::string> desktopFile;
        bool startSucceeds;
        std::size_t expectedStarts;
    };
    const Case cases[] = {
        {"empty address", "", "browser.desktop", Entry("/b %u"), true, 0},
        {"no default handler", kAddress, "", Entry("/b %u"), true, 0},
        {"no desktop file", kAddress, "browser.desktop", std::nullopt, true, 0},
        {"no Exec line", kAddress, "browser.desktop", std::string("[Desktop Entry]\nName=B\n"), true, 0},
        {"Exec only in another group", kAddress, "browser.desktop", std::string("[Other]\nExec=/b\n"), true, 0},
        {"unterminated quote", kAddress, "browser.desktop", Entry("\"/b %u"), true, 0},
        {"start fails", kAddress, "browser.desktop", Entry("/b %u"), false, 1},
        // Neither the address nor a line without a program may choose what runs or how.
        {"an address that reads as an option", "--renderer-cmd-prefix=/tmp/x", "browser.desktop", Entry("/b %u"),
         true, 0},
        {"an Exec line whose program is the address", kAddress, "browser.desktop", Entry("%u --x"), true, 0},
        {"an Exec line whose program holds the address", kAddress, "browser.desktop", Entry("%u.sh"), true, 0},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        FakeDesktop desktop;
        desktop.handler = test.handler;
        desktop.desktopFile = test.desktopFile;
        desktop.startSucceeds = test.startSucceeds;
        EXPECT_EQ(config::OpenWebPage(test.address, desktop.Services()), -1);
        EXPECT_EQ(desktop.starts.size(), test.expectedStarts);
    }
}

TEST(WebPageOpener, DesktopExecLineReading) {
    EXPECT_EQ(config::DesktopExecLine("# c\n[Desktop Entry]\r\nExec = /b %u \r\n"), "/b %u");
    EXPECT_EQ(config::DesktopExecLine("[Desktop Entry]\nTryExec=/t\nExec=/b\nExec=/c\n"), "/b");
}

}  // namespace
