#include "firmware/ControllerRecords.h"

#include "firmware/Bytes.h"

#include <algorithm>

namespace firmware {

Record encodeFwInfo(const FwInfo& info) {
    Record record{};
    std::copy(info.signature.begin(), info.signature.end(), record.begin() + kFwInfoSignatureAt);
    writeLe16(record, kFwInfoLayoutIdAt, info.layoutId);
    writeLe16(record, kFwInfoErasePageBytesAt, info.erasePageBytes);
    writeLe16(record, kFwInfoErasePageCountAt, info.erasePageCount);
    writeLe16(record, kFwInfoImageStartAt, info.imageStart);
    return record;
}

FwInfo decodeFwInfo(std::span<const std::uint8_t, kRecordBytes> record) {
    FwInfo info;
    std::copy_n(record.begin() + kFwInfoSignatureAt, kSignatureBytes, info.signature.begin());
    info.layoutId = readLe16(record, kFwInfoLayoutIdAt);
    info.erasePageBytes = readLe16(record, kFwInfoErasePageBytesAt);
    info.erasePageCount = readLe16(record, kFwInfoErasePageCountAt);
    info.imageStart = readLe16(record, kFwInfoImageStartAt);
    return info;
}

Version decodeApInfo(std::span<const std::uint8_t, kRecordBytes> record) {
    return {record[kApInfoMajorAt], record[kApInfoMinorAt], readLe32(record, kApInfoBuildAt)};
}

std::string versionText(const Version& version) {
    if (version.isNone()) return "none";
    return std::to_string(version.major) + "." + std::to_string(version.minor) + "." +
           std::to_string(version.build);
}

Record encodeVerInfo(std::u16string_view text) {
    Record record;
    record.fill(0);
    const std::size_t units = std::min(text.size(), kVerInfoTextBytes / 2);
    writeLe32(record, 0, static_cast<std::uint32_t>(units * 2));
    for (std::size_t i = 0; i < units; ++i) writeLe16(record, kVerInfoTextAt + 2 * i, text[i]);
    return record;
}

std::optional<std::u16string> decodeVerInfo(std::span<const std::uint8_t, kRecordBytes> record) {
    const std::uint32_t count = readLe32(record, 0);
    const bool erased = std::all_of(record.begin() + kVerInfoTextAt, record.begin() + kVerInfoTextAt + 26,
                                    [](std::uint8_t b) { return b == 0xFF; });
    if (erased || count == 0xFFFFFFFFu) return std::nullopt;
    const std::size_t bytes = std::min<std::size_t>(count, kVerInfoTextBytes);
    std::u16string text;
    for (std::size_t i = 0; i + 1 < bytes; i += 2) {
        const char16_t unit = readLe16(record, kVerInfoTextAt + i);
        if (unit == 0) break;
        text.push_back(unit);
    }
    return text;
}

std::u16string utf16FromAscii(std::string_view text) {
    std::u16string out;
    for (const char c : text) out.push_back(static_cast<unsigned char>(c) < 0x80 ? char16_t(c) : u'?');
    return out;
}

}  // namespace firmware
