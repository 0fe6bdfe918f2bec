#include "DebugOutput.h"

#include "XmlTextConversion.h"

#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <string>

namespace platform {

namespace {

std::atomic<bool> g_debugSwitch{false};

bool variableAsksForDebug() {
    const char* value = std::getenv(kDebugVariable);
    return value != nullptr && *value != '\0' && std::string_view(value) != "0";
}

}  // namespace

void SetDebugOutput(bool on) { g_debugSwitch = on; }

bool DebugOutputOn() { return g_debugSwitch || variableAsksForDebug(); }

void DebugOutput(std::string_view text) {
    if (!DebugOutputOn()) return;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    std::string line;
    line.reserve(text.size() + 1);
    line.append(text);
    line += '\n';
    // One write carries the whole line. The loop only continues after an interrupted or partial
    // write; a failing standard error is ignored, as diagnostics must never stop the program.
    std::string_view rest = line;
    while (!rest.empty()) {
        const ssize_t written = write(STDERR_FILENO, rest.data(), rest.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return;
        }
        rest.remove_prefix(static_cast<size_t>(written));
    }
}

void DebugOutput(std::u16string_view text) {
    if (!DebugOutputOn()) return;
    DebugOutput(std::string_view{xml::Utf16ToUtf8(text)});
}

}  // namespace platform
