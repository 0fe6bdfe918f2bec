// The firmware package appended to the updater's executable: the information block at the very end of
// the file and up to nine entries (an application image and a version block each) before it.
//
// Read forwards, the file ends with: image 0, version block 0, image 1, ..., image 8, version block 8,
// information block. Every block is stored scrambled by itself (see Scrambling.h).
//
// The records are plain structs whose byte layout is the stored one, so that a block read from the
// file can be copied into them as it is; the layout is checked below at compile time.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>

namespace firmware {

inline constexpr std::size_t kPackageEntryCount = 9;
inline constexpr std::size_t kEntryNameUnits = 30;
inline constexpr std::size_t kPackageTextUnits = 260;
inline constexpr std::size_t kPackageMarkerBytes = 10;
// ".maaV102" and two zero bytes: the end of every package.
inline constexpr char kPackageMarker[kPackageMarkerBytes] = {'.', 'm', 'a', 'a', 'V', '1', '0', '2', 0, 0};
// The target search flag value that asks to try every target of the controller.
inline constexpr std::uint8_t kSearchAllTargets = 1;

struct FirmwareImageEntry {
    std::uint32_t imageBytes;          // 0: the entry is empty
    std::uint32_t versionBlockBytes;
    char16_t name[kEntryNameUnits];    // layout name, zero-terminated when shorter
    std::uint16_t layoutId;            // matched against the controller's FWInfo layout id
    std::uint8_t versionMajor;
    std::uint8_t versionMinor;
    std::uint32_t versionBuild;
    std::uint8_t unused[4];
};

struct FirmwareInfoBlock {
    std::uint8_t signature[16];        // must equal FWInfo bytes 4-19
    std::uint8_t targetSearch;         // kSearchAllTargets, or use targetIndex
    std::uint8_t targetIndex;
    std::uint8_t unused18[2];
    std::uint32_t bootLoaderVendorId;
    std::uint32_t bootLoaderProductId;
    std::uint32_t applicationVendorId;
    std::uint32_t applicationProductId;
    std::uint8_t bytesPerWrite;        // data bytes per flash-write command
    std::uint8_t unused37;
    char16_t title[kPackageTextUnits];     // the updater's window caption
    char16_t company[kPackageTextUnits];
    char16_t product[kPackageTextUnits];
    char16_t version[kPackageTextUnits];   // the version text the package brings
    std::uint8_t unused2118[2];
    FirmwareImageEntry entries[kPackageEntryCount];
    std::uint8_t unused2840;
    char marker[kPackageMarkerBytes];
    std::uint8_t unused2851;
};

// The records are copied to and from little-endian bytes as they are.
static_assert(std::endian::native == std::endian::little);

static_assert(sizeof(FirmwareImageEntry) == 80);
static_assert(offsetof(FirmwareImageEntry, imageBytes) == 0);
static_assert(offsetof(FirmwareImageEntry, versionBlockBytes) == 4);
static_assert(offsetof(FirmwareImageEntry, name) == 8);
static_assert(offsetof(FirmwareImageEntry, layoutId) == 68);
static_assert(offsetof(FirmwareImageEntry, versionMajor) == 70);
static_assert(offsetof(FirmwareImageEntry, versionMinor) == 71);
static_assert(offsetof(FirmwareImageEntry, versionBuild) == 72);
static_assert(offsetof(FirmwareImageEntry, unused) == 76);

inline constexpr std::size_t kInfoBlockBytes = 2852;
static_assert(sizeof(FirmwareInfoBlock) == kInfoBlockBytes);
static_assert(offsetof(FirmwareInfoBlock, targetSearch) == 16);
static_assert(offsetof(FirmwareInfoBlock, targetIndex) == 17);
static_assert(offsetof(FirmwareInfoBlock, bootLoaderVendorId) == 20);
static_assert(offsetof(FirmwareInfoBlock, bootLoaderProductId) == 24);
static_assert(offsetof(FirmwareInfoBlock, applicationVendorId) == 28);
static_assert(offsetof(FirmwareInfoBlock, applicationProductId) == 32);
static_assert(offsetof(FirmwareInfoBlock, bytesPerWrite) == 36);
static_assert(offsetof(FirmwareInfoBlock, title) == 38);
static_assert(offsetof(FirmwareInfoBlock, company) == 558);
static_assert(offsetof(FirmwareInfoBlock, product) == 1078);
static_assert(offsetof(FirmwareInfoBlock, version) == 1598);
static_assert(offsetof(FirmwareInfoBlock, entries) == 2120);
static_assert(offsetof(FirmwareInfoBlock, marker) == 2841);
static_assert(offsetof(FirmwareInfoBlock, unused2851) == 2851);

// A stored text up to its terminating zero; a text that fills its field without one ends there.
template <std::size_t N>
std::u16string storedText(const char16_t (&field)[N]) {
    std::size_t length = 0;
    while (length < N && field[length] != 0) ++length;
    return std::u16string(field, length);
}

// Stores a text, cut to leave room for the terminating zero; the rest of the field is zero.
template <std::size_t N>
void storeText(char16_t (&field)[N], std::u16string_view text) {
    std::size_t i = 0;
    for (; i < text.size() && i + 1 < N; ++i) field[i] = text[i];
    for (; i < N; ++i) field[i] = 0;
}

}  // namespace firmware
