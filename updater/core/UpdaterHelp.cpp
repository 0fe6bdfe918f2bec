#include "UpdaterHelp.h"

#include "firmware/PackageReader.h"

#include <string>

namespace updater {

namespace {

// The reader's messages are not shown here: the version line says what is wrong.
class QuietMessages final : public firmware::PackageMessageSink {
public:
    void show(firmware::PackageMessage) override {}
};

// The package texts are ASCII; any other unit is shown as '?'.
std::string ascii(std::u16string_view text) {
    std::string out;
    for (char16_t c : text) out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    return out;
}

}  // namespace

bool writeHelp(std::FILE* out) {
    bool written = true;
    for (std::string_view line : kHelpLines)
        written = std::fwrite(line.data(), 1, line.size(), out) == line.size() && written;
    return std::fflush(out) == 0 && written;
}

bool writeVersions(std::FILE* out, const std::filesystem::path& programFile) {
    QuietMessages quiet;
    const auto read = firmware::readPackage(programFile, quiet);
    // The help's title line without its leading blank lines.
    std::string text(kHelpLines[0].substr(kHelpLines[0].find_first_not_of('\n')));
    text += read.info ? "firmware package " + ascii(firmware::storedText(read.info->version)) + "\n"
                      : std::string("firmware package: unreadable\n");
    const bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
    return std::fflush(out) == 0 && written && read.ok();
}

}  // namespace updater
