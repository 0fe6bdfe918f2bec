#include "WebPageOpener.h"

#include "DesktopExec.h"
#include "DetachedProcess.h"
#include "XdgDirectories.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QProcess>
#include <QStandardPaths>
#include <QThreadPool>
#include <QVariantMap>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

namespace config {

namespace {

constexpr int kQueryTimeoutMs = 5000;
constexpr int kPortalTimeoutMs = 5000;

bool PortalOpenUri(const QString& address) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return false;
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.portal.Desktop"), QStringLiteral("/org/freedesktop/portal/desktop"),
        QStringLiteral("org.freedesktop.portal.OpenURI"), QStringLiteral("OpenURI"));
    // No parent window identifier: the portal's chooser, if it shows one, is not tied to ours.
    call << QString() << address << QVariantMap();
    return bus.call(call, QDBus::Block, kPortalTimeoutMs).type() == QDBusMessage::ReplyMessage;
}

std::string QueryDefaultHtmlHandler() {
    QProcess query;
    query.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"), QStringLiteral("text/html")});
    if (!query.waitForFinished(kQueryTimeoutMs) || query.exitStatus() != QProcess::NormalExit) {
        query.kill();
        query.waitForFinished();
        return {};
    }
    return query.readAllStandardOutput().trimmed().toStdString();
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

bool HasProgram(const std::string& program) {
    return !QStandardPaths::findExecutable(QString::fromStdString(program)).isEmpty();
}

// The default handler's Exec line, expanded for `address`, and started.
bool StartDefaultHandler(const QString& address, const WebBrowserServices& services) {
    const std::string desktopId = services.defaultHtmlHandler();
    if (desktopId.empty()) return false;
    const std::optional<std::string> desktopFile = services.readDesktopFile(desktopId);
    if (!desktopFile) return false;
    const std::optional<std::vector<std::string>> command =
        ExpandExecLine(DesktopExecLine(*desktopFile), address.toStdString());
    if (!command) return false;
    QStringList arguments;
    for (std::size_t i = 1; i < command->size(); ++i) arguments << QString::fromStdString((*command)[i]);
    return services.start(QString::fromStdString(command->front()), arguments);
}

}  // namespace

WebBrowserServices DesktopWebBrowserServices() {
    return {PortalOpenUri, HasProgram, QueryDefaultHtmlHandler, ReadDesktopFile,
            [](const QString& program, const QStringList& arguments) {
                return platform::StartDetached(program, arguments);
            }};
}

int OpenWebPage(const QString& address, const WebBrowserServices& services) {
    // An address that begins with '-' would be read as an option by xdg-open or the browser.
    if (address.trimmed().isEmpty() || address.startsWith(QLatin1Char('-'))) return -1;
    if (services.portalOpenUri(address)) return 0;
    if (services.hasProgram("xdg-open") && services.start(QStringLiteral("xdg-open"), {address})) return 0;
    return StartDefaultHandler(address, services) ? 0 : -1;
}

int OpenWebPage(const QString& address) { return OpenWebPage(address, DesktopWebBrowserServices()); }

void OpenWebPageInBackground(const QString& address, std::function<void(int result)> finished) {
    QThreadPool::globalInstance()->start([address, finished = std::move(finished)] {
        const int result = OpenWebPage(address);
        if (finished) finished(result);
    });
}

}  // namespace config
