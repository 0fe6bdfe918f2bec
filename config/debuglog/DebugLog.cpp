#include "DebugLog.h"

#include "DebugOutput.h"
#include "XmlTextConversion.h"
#include "XdgDirectories.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <vector>

namespace config {

bool g_debugLog = false;

namespace {

void AppendHex(std::u16string& out, std::uint32_t value) {
    char16_t digits[8];
    int count = 0;
    do {
        digits[count++] = u"0123456789abcdef"[value & 0xF];
        value >>= 4;
    } while (value != 0);
    while (count > 0) {
        out += digits[--count];
    }
}

void AppendDecimal(std::u16string& out, std::int64_t value) {
    // Built on the magnitude as unsigned so the most negative value needs no special case.
    std::uint64_t magnitude = value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    char16_t digits[20];
    int count = 0;
    do {
        digits[count++] = static_cast<char16_t>(u'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0) {
        out += u'-';
    }
    while (count > 0) {
        out += digits[--count];
    }
}

// Writes the whole buffer, continuing after interrupted or partial writes; false on failure.
bool WriteAll(int file, const std::uint8_t* bytes, std::size_t size) {
    while (size > 0) {
        const ssize_t written = write(file, bytes, size);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

std::vector<std::uint8_t> Utf16LeBytes(std::u16string_view text) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(text.size() * 2);
    for (const char16_t unit : text) {
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    return bytes;
}

// Opens without truncating, so the lines of all runs accumulate; a zero-length file gets the mark.
void AppendToLogFile(const std::string& path, std::u16string_view line) {
    const int file = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (file < 0) {
        return;
    }
    struct stat status {};
    if (fstat(file, &status) == 0 && status.st_size == 0) {
        static constexpr std::uint8_t kByteOrderMark[] = {0xFF, 0xFE};
        WriteAll(file, kByteOrderMark, sizeof kByteOrderMark);
    }
    if (lseek(file, 0, SEEK_END) >= 0) {
        const std::vector<std::uint8_t> bytes = Utf16LeBytes(line);
        WriteAll(file, bytes.data(), bytes.size());
    }
    close(file);
}

std::string LogFileIn(const std::string& desktop) {
    return desktop + "/" + xml::Utf16ToUtf8(kDebugLogFileName);
}

std::u16string CurrentStamp() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (now == static_cast<std::time_t>(-1) || localtime_r(&now, &local) == nullptr) {
        return {};
    }
    return FormatDebugLogStamp(local);
}

}  // namespace

std::u16string FormatDebugMessage(std::u16string_view format, std::span<const DebugLogArgument> arguments) {
    std::u16string out;
    out.reserve(format.size());
    std::size_t next = 0;
    for (std::size_t i = 0; i < format.size(); ++i) {
        const char16_t c = format[i];
        if (c != u'%' || i + 1 == format.size()) {
            out += c;
            continue;
        }
        const char16_t conversion = format[i + 1];
        if (conversion == u'%') {
            out += u'%';
            ++i;
            continue;
        }
        if (conversion != u's' && conversion != u'd' && conversion != u'x') {
            out += c;  // not a conversion the log knows: the percent sign is text
            continue;
        }
        const DebugLogArgument* argument = next < arguments.size() ? &arguments[next] : nullptr;
        const auto* integer = argument ? std::get_if<std::int64_t>(argument) : nullptr;
        const auto* text = argument ? std::get_if<std::u16string_view>(argument) : nullptr;
        if (conversion == u's' && text) {
            out += *text;
        } else if (conversion == u'd' && integer) {
            AppendDecimal(out, *integer);
        } else if (conversion == u'x' && integer) {
            AppendHex(out, static_cast<std::uint32_t>(*integer));
        } else {
            out += c;  // missing or unfitting argument: keep the conversion as text
            out += conversion;
        }
        if (argument) {
            ++next;  // an unfitting argument is still used up, so the ones after it keep their places
        }
        ++i;
    }
    return out;
}

std::u16string FormatDebugLogStamp(const std::tm& localTime) {
    char buffer[128];
    const std::size_t length = std::strftime(buffer, sizeof buffer, "%m/%d %H:%M ", &localTime);
    return std::u16string(buffer, buffer + length);  // digits, '/', ':' and blanks: ASCII only
}

std::string DebugLogFilePath() {
    return LogFileIn(platform::DesktopDirectory());
}

void WriteDebugLogMessage(std::u16string_view message) {
    std::u16string line = CurrentStamp();
    line += message;
    line += u"\r\n";

    const std::string desktop = platform::DesktopDirectory();
    std::error_code ignored;
    std::filesystem::create_directories(desktop, ignored);
    AppendToLogFile(LogFileIn(desktop), line);
    platform::DebugOutput(line);
}

}  // namespace config
