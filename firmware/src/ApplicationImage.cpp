#include "firmware/ApplicationImage.h"

#include "firmware/Bytes.h"
#include "firmware/Checksum.h"

#include <algorithm>

namespace firmware {

std::vector<std::uint8_t> buildApplicationImage(const Version& version, std::span<const std::uint8_t> body) {
    std::vector<std::uint8_t> image(kImageHeaderBytes, 0);
    image[0] = kImageMarker0;
    image[1] = kImageMarker1;
    image[kApInfoMajorAt] = version.major;
    image[kApInfoMinorAt] = version.minor;
    writeLe32(image, kApInfoBuildAt, version.build);
    writeLe32(image, kImageLengthAt, static_cast<std::uint32_t>(kImageHeaderBytes + body.size()));
    writeLe32(image, kImageChecksumAt, wordSum(body));
    image.insert(image.end(), body.begin(), body.end());
    return image;
}

ImageState checkApplicationImage(std::span<const std::uint8_t> imageArea) {
    if (imageArea.size() < kImageHeaderBytes) return ImageState::Damaged;
    const auto header = imageArea.first(kImageHeaderBytes);
    if (std::all_of(header.begin(), header.end(), [](std::uint8_t b) { return b == 0xFF; }))
        return ImageState::Blank;
    if (header[0] != kImageMarker0 || header[1] != kImageMarker1) return ImageState::Damaged;
    const std::uint32_t length = readLe32(header, kImageLengthAt);
    if (length < kImageHeaderBytes || length > imageArea.size()) return ImageState::Damaged;
    const auto body = imageArea.subspan(kImageHeaderBytes, length - kImageHeaderBytes);
    return wordSum(body) == readLe32(header, kImageChecksumAt) ? ImageState::Valid : ImageState::Damaged;
}

Record apInfoRecord(std::span<const std::uint8_t> imageArea) {
    Record record;
    record.fill(0xFF);
    std::copy_n(imageArea.begin(), std::min(imageArea.size(), kRecordBytes), record.begin());
    return record;
}

}  // namespace firmware
