#include "WebPageOpener.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

// A desktop whose default browser is `desktopFile`, with the files of `files`, recording the start.
struct FakeDesktop {
    std::string handler = "browser.desktop";
    std::optional<std::string> desktopFile;
    std::set<std::string> files;
    bool startSucceeds = true;
    QString program;
    QStringList arguments;
    int starts = 0;

    config::WebBrowserServices Services() {
        return {[this] { return handler; },
                [this](const std::string& id) { return id == handler ? desktopFile : std::nullopt; },
                [this](const std::string& path) { return files.count(path) != 0; },
                [this](const QString& startProgram, const QStringList& startArguments) {
                    ++starts;
                    program = startProgram;
                    arguments = startArguments;
                    return startSucceeds;
                }};
    }
};

std::string Entry(const std::string& exec) {
    return "[Desktop Entry]\nName=Browser\nExec=" + exec + "\n[Desktop Action new]\nExec=/other --new\n";
}

TEST(WebPageOpener, ExecLineRules) {
    struct Case {
        const char* exec;
        std::set<std::string> files;
        QString address;
        QString program;
        QStringList arguments;
    };
    const Case cases[] = {
        // Quoted executable in a folder with blanks, options and a quoted placeholder: only the path.
        {"\"/opt/My Browser/browser\" --new-window \"%u\"", {"/opt/My Browser/browser"}, "https://a.example/x",
         "/opt/My Browser/browser", {"https://a.example/x"}},
        // The first prefix that names a file wins, even a shorter one.
        {"/usr/bin/web browser %U", {"/usr/bin/web", "/usr/bin/web browser"}, "u", "/usr/bin/web", {"u"}},
        // A command without blanks is the executable whole.
        {"/usr/bin/browser", {}, "u", "/usr/bin/browser", {"u"}},
        // No prefix names a file: the whole command.
        {"  browser %u  ", {}, "u", "browser %u", {"u"}},
        // An address with blanks arrives as several arguments; an empty one as none.
        {"/b %u", {"/b"}, "a b  c", "/b", {"a", "b", "c"}},
        {"/b %u", {"/b"}, "", "/b", {}},
    };
    for (const Case& test : cases) {
        FakeDesktop desktop;
        desktop.desktopFile = Entry(test.exec);
        desktop.files = test.files;
        EXPECT_EQ(config::OpenWebPage(test.address, desktop.Services()), 0) << test.exec;
        EXPECT_EQ(desktop.program, test.program) << test.exec;
        EXPECT_EQ(desktop.arguments, test.arguments) << test.exec;
    }
}

TEST(WebPageOpener, FailuresGiveMinusOne) {
    struct Case {
        const char* what;
        std::string handler;
        std::optional<std::string> desktopFile;
        bool startSucceeds;
        int expectedStarts;
    };
    const Case cases[] = {
        {"no default handler", "", Entry("/b %u"), true, 0},
        {"no desktop file", "browser.desktop", std::nullopt, true, 0},
        {"no Exec line", "browser.desktop", std::string("[Desktop Entry]\nName=B\n"), true, 0},
        {"Exec only in another group", "browser.desktop", std::string("[Other]\nExec=/b\n"), true, 0},
        {"start fails", "browser.desktop", Entry("/b %u"), false, 1},
    };
    for (const Case& test : cases) {
        FakeDesktop desktop;
        desktop.handler = test.handler;
        desktop.desktopFile = test.desktopFile;
        desktop.files = {"/b"};
        desktop.startSucceeds = test.startSucceeds;
        EXPECT_EQ(config::OpenWebPage("https://a.example", desktop.Services()), -1) << test.what;
        EXPECT_EQ(desktop.starts, test.expectedStarts) << test.what;
    }
}

TEST(WebPageOpener, DesktopExecLineReading) {
    EXPECT_EQ(config::DesktopExecLine("# c\n[Desktop Entry]\r\nExec = /b %u \r\n"), "/b %u");
    EXPECT_EQ(config::DesktopExecLine("[Desktop Entry]\nTryExec=/t\nExec=/b\nExec=/c\n"), "/b");
}

}  // namespace
