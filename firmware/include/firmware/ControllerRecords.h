// The 60-byte records a controller target reports through the 0x12 command group: FWInfo (hardware
// signature, layout and flash geometry), APInfo (version of the application image on the target) and
// VerInfo (the version text kept in the target's version area).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace firmware {

inline constexpr std::size_t kRecordBytes = 60;
using Record = std::array<std::uint8_t, kRecordBytes>;

// Offsets inside the FWInfo record.
inline constexpr std::size_t kFwInfoSignatureAt = 4;
inline constexpr std::size_t kSignatureBytes = 16;
inline constexpr std::size_t kFwInfoLayoutIdAt = 20;
inline constexpr std::size_t kFwInfoErasePageBytesAt = 32;
inline constexpr std::size_t kFwInfoErasePageCountAt = 34;
inline constexpr std::size_t kFwInfoImageStartAt = 36;

using Signature = std::array<std::uint8_t, kSignatureBytes>;

struct FwInfo {
    Signature signature{};
    std::uint16_t layoutId = 0;
    // The whole-area erase covers erasePageBytes * erasePageCount bytes from address 0.
    std::uint16_t erasePageBytes = 0;
    std::uint16_t erasePageCount = 0;
    // Address where the application image starts; the version area runs from 0 up to it.
    std::uint16_t imageStart = 0;

    std::uint32_t areaBytes() const { return std::uint32_t{erasePageBytes} * erasePageCount; }
    bool operator==(const FwInfo&) const = default;
};

Record encodeFwInfo(const FwInfo& info);
FwInfo decodeFwInfo(std::span<const std::uint8_t, kRecordBytes> record);

// Offsets inside the APInfo record.
inline constexpr std::size_t kApInfoMajorAt = 2;
inline constexpr std::size_t kApInfoMinorAt = 3;
inline constexpr std::size_t kApInfoBuildAt = 4;

struct Version {
    std::uint8_t major = 0;
    std::uint8_t minor = 0;
    std::uint32_t build = 0;

    // A major and minor of 0xFF 0xFF: the target reports no valid version (an erased record).
    bool isNone() const { return major == 0xFF && minor == 0xFF; }
    auto operator<=>(const Version&) const = default;
};

Version decodeApInfo(std::span<const std::uint8_t, kRecordBytes> record);
// "major.minor.build", or "none" for a record without a valid version.
std::string versionText(const Version& version);

// VerInfo: a 32-bit byte count, then at most 56 bytes of UTF-16LE text.
inline constexpr std::size_t kVerInfoTextAt = 4;
inline constexpr std::size_t kVerInfoTextBytes = 56;

// The record for a text; longer texts are cut to 28 code units.
Record encodeVerInfo(std::u16string_view text);
// The stored text, or nothing when the record holds none (an erased text area or an all-ones count).
std::optional<std::u16string> decodeVerInfo(std::span<const std::uint8_t, kRecordBytes> record);

// An ASCII text as UTF-16 (other bytes become '?'), for version texts given on a command line.
std::u16string utf16FromAscii(std::string_view text);

}  // namespace firmware
