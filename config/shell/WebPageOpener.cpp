#include "WebPageOpener.h"

#include "DetachedProcess.h"
#include "XdgDirectories.h"

#include <QProcess>
#include <QStandardPaths>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace config {

namespace {

constexpr int kQueryTimeoutMs = 5000;

std::string_view Trimmed(std::string_view text, std::string_view blanks = " \t\r") {
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

std::string QueryDefaultHtmlHandler() {
    QProcess query;
    query.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"), QStringLiteral("text/html")});
    if (!query.waitForFinished(kQueryTimeoutMs) || query.exitStatus() != QProcess::NormalExit) {
        query.kill();
        query.waitForFinished();
        return {};
    }
    return std::string(Trimmed(query.readAllStandardOutput().toStdString(), " \t\r\n"));
}

// The folders that hold desktop files, most important first.
std::vector<std::string> ApplicationFolders() {
    std::vector<std::string> folders;
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    folders.push_back((dataHome != nullptr && dataHome[0] == '/' ? std::string(dataHome)
                                                                 : platform::HomeDirectory() + "/.local/share") +
                      "/applications/");
    const char* dataDirs = std::getenv("XDG_DATA_DIRS");
    std::istringstream list(dataDirs != nullptr && dataDirs[0] != '\0' ? dataDirs : "/usr/local/share:/usr/share");
    for (std::string folder; std::getline(list, folder, ':');) {
        if (!folder.empty() && folder.front() == '/') folders.push_back(folder + "/applications/");
    }
    return folders;
}

std::optional<std::string> ReadDesktopFile(const std::string& desktopId) {
    if (desktopId.empty() || desktopId.find('/') != std::string::npos) return std::nullopt;
    for (const std::string& folder : ApplicationFolders()) {
        std::ifstream file(folder + desktopId, std::ios::binary);
        if (!file) continue;
        std::ostringstream text;
        text << file.rdbuf();
        return text.str();
    }
    return std::nullopt;
}

// A path is checked as it is; a bare name is looked up on PATH, where the process start finds it too.
bool IsFileOrProgram(const std::string& path) {
    if (path.find('/') == std::string::npos) {
        return !QStandardPaths::findExecutable(QString::fromStdString(path)).isEmpty();
    }
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    return std::filesystem::exists(status) && !std::filesystem::is_directory(status);
}

}  // namespace

WebBrowserServices DesktopWebBrowserServices() {
    return {QueryDefaultHtmlHandler, ReadDesktopFile, IsFileOrProgram,
            [](const QString& program, const QStringList& arguments) {
                return platform::StartDetached(program, arguments);
            }};
}

std::string DesktopExecLine(std::string_view desktopFile) {
    bool inEntry = false;
    std::istringstream lines{std::string(desktopFile)};
    for (std::string raw; std::getline(lines, raw);) {
        const std::string_view line = Trimmed(raw);
        if (!line.empty() && line.front() == '[') {
            inEntry = line == "[Desktop Entry]";
            continue;
        }
        if (!inEntry) continue;
        const std::size_t equals = line.find('=');
        if (equals != std::string_view::npos && Trimmed(line.substr(0, equals)) == "Exec") {
            return std::string(Trimmed(line.substr(equals + 1)));
        }
    }
    return {};
}

std::string CleanOpenCommand(std::string_view command) {
    std::string cleaned;
    for (const char c : Trimmed(command, " ")) {
        if (c != '"') cleaned += c;
    }
    return cleaned;
}

std::string ExecutableOfCommand(const std::string& command, const std::function<bool(const std::string&)>& isFile) {
    for (std::size_t blank = command.find(' '); blank != std::string::npos; blank = command.find(' ', blank + 1)) {
        std::string prefix = command.substr(0, blank);
        if (isFile(prefix)) return prefix;
    }
    return command;
}

QStringList BrowserArguments(const QString& address) {
    return address.split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

int OpenWebPage(const QString& address, const WebBrowserServices& services) {
    const std::string desktopId = services.defaultHtmlHandler();
    if (desktopId.empty()) return -1;
    const std::optional<std::string> desktopFile = services.readDesktopFile(desktopId);
    const std::string command = CleanOpenCommand(desktopFile ? DesktopExecLine(*desktopFile) : std::string());
    const std::string executable = ExecutableOfCommand(command, services.isFile);
    if (executable.empty()) return -1;
    return services.start(QString::fromStdString(executable), BrowserArguments(address)) ? 0 : -1;
}

int OpenWebPage(const QString& address) { return OpenWebPage(address, DesktopWebBrowserServices()); }

}  // namespace config
