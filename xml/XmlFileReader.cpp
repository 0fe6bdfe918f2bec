#include "XmlFileReader.h"

#include "XmlCharsets.h"
#include "XmlDocument.h"
#include "XmlScanner.h"
#include "XmlTagReader.h"
#include "XmlText.h"
#include "XmlTextConversion.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace xml {

namespace {

constexpr std::size_t kSampleBytes = 1024;
// Offsets are 32-bit fields; larger files are refused rather than indexed wrongly.
constexpr std::size_t kMaxDocumentBytes = std::size_t(1) << 30;

struct ByteOrderMark {
    std::string_view bytes;
    const char* name;
    uint32_t flag;
};

constexpr ByteOrderMark kMarks[] = {
    {"\xEF\xBB\xBF", "UTF-8", kFileUtf8Mark},
    {"\xFF\xFE", "UTF-16LE", kFileUtf16LeMark},
    {"\xFE\xFF", "UTF-16BE", kFileUtf16BeMark},
};

// The system's message for an error number, first line only.
std::u16string SystemMessage(int error) {
    std::string message = std::strerror(error);
    message = message.substr(0, message.find_first_of("\r\n"));
    return Utf8ToUtf16(message);
}

XmlFileText Failure(int error) {
    XmlFileText file;
    file.result = SystemMessage(error);
    return file;
}

bool IsContentDelimiter(char16_t c) {
    return std::u16string_view(u" \t\n\r<>=\\/?!\"';").find(c) != std::u16string_view::npos;
}

// The token after "charset" and "=" in a Content-Type value such as "text/html; charset=utf-8".
std::u16string CharsetFromContent(std::u16string_view content) {
    std::size_t i = 0;
    auto token = [&]() {
        while (i < content.size() && IsContentDelimiter(content[i]) && content[i] != u'=') ++i;
        const std::size_t begin = i;
        while (i < content.size() && !IsContentDelimiter(content[i])) ++i;
        return content.substr(begin, i - begin);
    };
    while (i < content.size()) {
        if (content[i] == u'=') {
            ++i;
            continue;
        }
        if (!EqualIgnoringAsciiCase(token(), u"charset")) continue;
        while (i < content.size() && IsXmlSpace(content[i])) ++i;
        if (i >= content.size() || content[i] != u'=') continue;
        ++i;
        while (i < content.size() && IsXmlSpace(content[i])) ++i;
        return std::u16string(token());
    }
    return {};
}

// Removes every unit equal to zero, moving the rest up; returns how many were removed.
template <typename Container>
std::size_t RemoveZeros(Container& units) {
    const auto end = std::remove(units.begin(), units.end(), typename Container::value_type{});
    const std::size_t removed = static_cast<std::size_t>(units.end() - end);
    units.erase(end, units.end());
    return removed;
}

// The text of a file without a UTF-16 byte-order mark, whose zero bytes were removed: it is 8-bit
// text even when it declares UTF-16, and is then read as UTF-8 when it passes the check, else as ANSI.
std::u16string DecodeEightBitText(std::u16string_view encoding, std::string_view body) {
    const int codePage = CodePageOfEncoding(encoding);
    if (codePage == kCodePageUtf16 || codePage == kCodePageUtf16Be) {
        return DecodeToUtf16(PassesUtf8Check(body) ? kCodePageUtf8 : kCodePageAnsi, body);
    }
    return ConvertToUtf16(encoding, body);
}

void AppendCount(std::u16string& out, const char* before, std::size_t count, const char* after) {
    AppendAscii(out, before);
    AppendNumber(out, count);
    AppendAscii(out, after);
}

}  // namespace

std::u16string DeclaredEncoding(std::string_view sample) {
    const std::u16string text = Utf8ToUtf16(sample);
    XmlScanner scanner(text, kFileIgnoreCase);
    XmlNodeToken node;
    bool markupSeen = false;
    bool processingInstructionSeen = false;
    bool insideHtml = false;
    while (scanner.Next(node)) {
        const std::size_t tagEnd = std::size_t(node.start) + node.length;
        switch (node.type) {
            case kNodeError:
                return {};
            case kNodeProcessingInstruction:
                if (!markupSeen && !processingInstructionSeen) {
                    processingInstructionSeen = true;
                    if (EqualIgnoringAsciiCase(node.name, u"xml")) {
                        // Read the attributes as if the '?' were the tag's opening character.
                        auto value = FindAttributeValue(text, node.start + 1, tagEnd, u"encoding", true);
                        return value ? std::u16string(*value) : std::u16string();
                    }
                }
                break;
            case kNodeElement:
                markupSeen = true;
                if (!insideHtml) {
                    if (!EqualIgnoringAsciiCase(node.name, u"html")) return {};
                    insideHtml = true;
                } else if (EqualIgnoringAsciiCase(node.name, u"meta")) {
                    auto httpEquiv = FindAttributeValue(text, node.start, tagEnd, u"http-equiv", true);
                    auto content = FindAttributeValue(text, node.start, tagEnd, u"content", true);
                    if (httpEquiv && content && EqualIgnoringAsciiCase(*httpEquiv, u"Content-Type")) {
                        return CharsetFromContent(*content);
                    }
                }
                break;
            case kNodeEndTag:
                markupSeen = true;
                if (EqualIgnoringAsciiCase(node.name, u"head")) return {};
                break;
            default:
                break;
        }
    }
    return {};
}

XmlFileText ReadXmlBytes(std::string_view bytes) {
    if (bytes.size() > kMaxDocumentBytes) return Failure(EFBIG);
    XmlFileText file;
    file.ok = true;
    std::u16string encoding;
    std::u16string openResult;
    std::u16string readResult;
    std::string_view body = bytes;

    if (!bytes.empty()) {
        const ByteOrderMark* mark = nullptr;
        for (const auto& m : kMarks) {
            if (bytes.substr(0, m.bytes.size()) == m.bytes) {
                mark = &m;
                break;
            }
        }
        if (mark) {
            encoding = FromAscii(mark->name);
            file.flags |= mark->flag;
            body = bytes.substr(mark->bytes.size());
        } else {
            encoding = DeclaredEncoding(bytes.substr(0, kSampleBytes));
            if (encoding.empty() && bytes[0] == '<') encoding = u"UTF-8";
        }
        if (!encoding.empty()) {
            openResult = encoding;
            if (mark) AppendAscii(openResult, " BOM +");
            openResult.push_back(u' ');
        }
    }

    if (bytes.empty()) {
        AppendAscii(readResult, "0 length ");
    } else if (file.flags & (kFileUtf16LeMark | kFileUtf16BeMark)) {
        file.text.resize(body.size() / 2);
        std::memcpy(file.text.data(), body.data(), file.text.size() * 2);
        AppendCount(readResult, "length ", file.text.size(), " ");
        if (const std::size_t nulls = RemoveZeros(file.text)) AppendCount(readResult, "(", nulls, " nulls removed) ");
        if (file.flags & kFileUtf16BeMark) {
            for (auto& unit : file.text) unit = static_cast<char16_t>((unit >> 8) | (unit << 8));
            AppendAscii(readResult, "endian swap ");
        }
    } else {
        AppendCount(readResult, "length ", body.size(), " ");
        std::string compacted;
        if (body.find('\0') != std::string_view::npos) {
            compacted.assign(body);
            const std::size_t nulls = RemoveZeros(compacted);
            AppendCount(readResult, "(", nulls, " nulls removed) ");
            body = compacted;
        }
        if (encoding.empty()) {
            if (PassesUtf8Check(body)) encoding = u"UTF-8";
            AppendAscii(readResult, "(used UTF-8 detection) ");
        }
        file.text = DecodeEightBitText(encoding, body);
        AppendCount(readResult, "to ", file.text.size(), " wide chars ");
    }

    if (!openResult.empty()) {
        file.result = openResult;
    } else if (!encoding.empty()) {
        file.result = encoding + u" ";
    } else {
        file.result = u"ANSI ";
    }
    file.result += readResult;
    return file;
}

XmlFileText ReadXmlFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return Failure(errno);
    struct stat info {};
    if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        const int error = S_ISDIR(info.st_mode) ? EISDIR : errno;
        ::close(fd);
        return Failure(error);
    }
    std::string bytes;
    if (S_ISREG(info.st_mode) && info.st_size > 0) {
        if (static_cast<uint64_t>(info.st_size) > kMaxDocumentBytes) {
            ::close(fd);
            return Failure(EFBIG);
        }
        bytes.reserve(static_cast<std::size_t>(info.st_size));
    }
    char chunk[65536];
    for (;;) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            const int error = errno;
            ::close(fd);
            return Failure(error);
        }
        bytes.append(chunk, static_cast<std::size_t>(n));
        if (bytes.size() > kMaxDocumentBytes) {
            ::close(fd);
            return Failure(EFBIG);
        }
    }
    ::close(fd);
    return ReadXmlBytes(bytes);
}

}  // namespace xml
