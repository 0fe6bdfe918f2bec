// The application image as it lies in a target's flash from the image start. It opens with a 64-byte
// header whose first 60 bytes are the APInfo record the target reports:
//   0-1   marker 'A' 'P'
//   2     version major, 3 version minor, 4-7 version build
//   8-11  image length in bytes, header included
//   12-15 checksum (wordSum) of the bytes after the header
//   16-63 zero
// A target boots its application only when the header is intact and the checksum matches the flash;
// an erased or half-written image leaves it in the boot loader.
#pragma once

#include "firmware/ControllerRecords.h"

#include <cstdint>
#include <span>
#include <vector>

namespace firmware {

inline constexpr std::size_t kImageHeaderBytes = 64;
inline constexpr std::size_t kImageLengthAt = 8;
inline constexpr std::size_t kImageChecksumAt = 12;
inline constexpr std::uint8_t kImageMarker0 = 'A';
inline constexpr std::uint8_t kImageMarker1 = 'P';

// The image for a version and a body (the code after the header).
std::vector<std::uint8_t> buildApplicationImage(const Version& version, std::span<const std::uint8_t> body);

enum class ImageState { Blank, Damaged, Valid };

// Examines the flash from the image start to the end of the area.
ImageState checkApplicationImage(std::span<const std::uint8_t> imageArea);

// The APInfo record of an image area: its first 60 bytes as they lie in the flash (all 0xFF when erased).
Record apInfoRecord(std::span<const std::uint8_t> imageArea);

}  // namespace firmware
