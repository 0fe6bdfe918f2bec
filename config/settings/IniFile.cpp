#include "IniFile.h"

#include "IniDocument.h"
#include "XmlTextConversion.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <optional>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace config {

namespace {

constexpr unsigned char kByteOrderMark[2] = {0xFF, 0xFE};

// The whole file, or nullopt when it cannot be read (errno then tells why; ENOENT: there is none).
std::optional<std::string> ReadFileBytes(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    std::string bytes;
    char buffer[16384];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            const int error = errno;
            ::close(fd);
            errno = error;
            return std::nullopt;
        }
        if (n == 0) break;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return bytes;
}

std::u16string DecodeFileText(const std::string& bytes) {
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == kByteOrderMark[0] &&
        static_cast<unsigned char>(bytes[1]) == kByteOrderMark[1]) {
        std::u16string text;
        text.reserve(bytes.size() / 2);
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
            text.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                                 static_cast<unsigned char>(bytes[i + 1]) << 8));
        }
        return text;
    }
    // A UTF-8 file may start with its own byte-order mark; it is not part of the first line.
    constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";
    const std::string_view utf8(bytes);
    if (utf8.starts_with(kUtf8ByteOrderMark)) return xml::Utf8ToUtf16(utf8.substr(kUtf8ByteOrderMark.size()));
    // Without any mark the file is UTF-8 when every sequence in it is valid UTF-8. Otherwise another
    // program wrote it in the ANSI code page, and it is read as windows-1252 so that its accented
    // section names, keys and values survive. (The XML reader's lenient check would take bytes such
    // as E9 E0 E8, "eae" with accents in windows-1252, for one UTF-8 character.)
    std::size_t invalid = 0;
    std::u16string text = xml::ConvertToUtf16(u"UTF-8", utf8, &invalid);
    return invalid == 0 ? text : xml::ConvertToUtf16(u"windows-1252", utf8);
}

IniDocument LoadDocument(const std::string& path) {
    const auto bytes = ReadFileBytes(path);
    return IniDocument::Parse(bytes ? DecodeFileText(*bytes) : std::u16string());
}

bool WriteAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Replaces the file with the byte-order mark and the text: a new file next to it, flushed, renamed over
// it. An existing file keeps its permissions. Returns 0, or the errno of the step that failed (the old
// file is then untouched).
int ReplaceFile(const std::string& path, std::u16string_view text) {
    std::string bytes(reinterpret_cast<const char*>(kByteOrderMark), 2);
    bytes.reserve(2 + 2 * text.size());
    for (const char16_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    std::string temporary = path + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) return errno;
    struct stat existing {};
    const mode_t mode = ::stat(path.c_str(), &existing) == 0 ? (existing.st_mode & 07777) : 0644;
    errno = 0;
    const bool written = ::fchmod(fd, mode) == 0 && WriteAll(fd, bytes) && ::fsync(fd) == 0;
    int error = written ? 0 : (errno != 0 ? errno : EIO);
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error == 0 && ::rename(temporary.c_str(), path.c_str()) != 0) error = errno;
    if (error != 0) ::unlink(temporary.c_str());
    return error;
}

int WriteValue(const std::string& path, std::u16string_view section, std::u16string_view key,
               std::u16string_view value) {
    // A file that exists but cannot be read is not replaced: its other values would be lost.
    const auto bytes = ReadFileBytes(path);
    if (!bytes && errno != ENOENT) return errno;
    IniDocument document = IniDocument::Parse(bytes ? DecodeFileText(*bytes) : std::u16string());
    document.SetValue(section, key, value);
    return ReplaceFile(path, document.Text());
}

int HexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    return -1;
}

std::u16string AsciiToUtf16(const std::string& text) { return std::u16string(text.begin(), text.end()); }

}  // namespace

std::u16string ReadIniText(const std::string& path, std::u16string_view section, std::u16string_view key) {
    auto value = LoadDocument(path).Value(section, key);
    if (!value) return {};
    if (value->size() > kIniTextLimit) value->resize(kIniTextLimit);
    return *value;
}

std::int32_t ParseIniInt(std::u16string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    // Digits accumulate modulo 2^32, as a 32-bit reader does; the result is the signed reading.
    std::uint32_t value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        value = value * 10u + static_cast<std::uint32_t>(text[i] - u'0');
    }
    if (negative) value = 0u - value;
    return static_cast<std::int32_t>(value);
}

std::int32_t ReadIniInt(const std::string& path, std::u16string_view section, std::u16string_view key,
                        std::int32_t defaultValue) {
    const auto value = LoadDocument(path).Value(section, key);
    return value ? ParseIniInt(*value) : defaultValue;
}

std::u16string EncodeIniBlock(std::span<const std::uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::u16string text;
    text.reserve(2 * bytes.size() + 2);
    std::uint8_t sum = 0;
    auto append = [&](std::uint8_t b) {
        text.push_back(static_cast<char16_t>(kDigits[b >> 4]));
        text.push_back(static_cast<char16_t>(kDigits[b & 0x0F]));
    };
    for (const std::uint8_t b : bytes) {
        append(b);
        sum = static_cast<std::uint8_t>(sum + b);
    }
    append(sum);
    return text;
}

bool DecodeIniBlock(std::u16string_view text, std::span<std::uint8_t> destination) {
    if (text.size() != 2 * destination.size() + 2) return false;
    std::vector<std::uint8_t> bytes(destination.size() + 1);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const int high = HexDigit(text[2 * i]);
        const int low = HexDigit(text[2 * i + 1]);
        if (high < 0 || low < 0) return false;
        bytes[i] = static_cast<std::uint8_t>(high << 4 | low);
    }
    std::uint8_t sum = 0;
    for (std::size_t i = 0; i < destination.size(); ++i) sum = static_cast<std::uint8_t>(sum + bytes[i]);
    if (sum != bytes.back()) return false;
    std::copy(bytes.begin(), bytes.end() - 1, destination.begin());
    return true;
}

bool ReadIniBlock(const std::string& path, std::u16string_view section, std::u16string_view key,
                  std::span<std::uint8_t> destination) {
    const auto value = LoadDocument(path).Value(section, key);
    return value && DecodeIniBlock(*value, destination);
}

int WriteIniText(const std::string& path, std::u16string_view section, std::u16string_view key,
                 std::u16string_view text) {
    std::u16string oneLine(text);
    for (char16_t& c : oneLine) {
        if (c == u'\r' || c == u'\n') c = u' ';
    }
    return WriteValue(path, section, key, oneLine);
}

int WriteIniInt(const std::string& path, std::u16string_view section, std::u16string_view key, std::int32_t value) {
    return WriteValue(path, section, key, AsciiToUtf16(std::to_string(value)));
}

int WriteIniBlock(const std::string& path, std::u16string_view section, std::u16string_view key,
                  std::span<const std::uint8_t> source) {
    return WriteValue(path, section, key, EncodeIniBlock(source));
}

}  // namespace config
