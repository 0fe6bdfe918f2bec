#include "firmware/ApplicationImage.h"
#include "firmware/Checksum.h"
#include "firmware/ControllerRecords.h"

#include <gtest/gtest.h>

namespace firmware {
namespace {

TEST(WordSum, AddsLittleEndianWordsAndCountsAPartialLastWordWithZeros) {
    const std::uint8_t bytes[] = {0x01, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x02, 0x03};
    EXPECT_EQ(wordSum(std::span(bytes).first(8)), 0u) << "wraps modulo 2^32";
    EXPECT_EQ(wordSum(bytes), 0x0302u);
    EXPECT_EQ(wordSum({}), 0u);
}

TEST(ApplicationImage, IsValidOnlyWhenHeaderAndBodyAgree) {
    const std::vector<std::uint8_t> body(301, 0x5A);
    auto image = buildApplicationImage({2, 3, 400}, body);
    std::vector<std::uint8_t> area(2048, 0xFF);
    std::copy(image.begin(), image.end(), area.begin());
    EXPECT_EQ(checkApplicationImage(area), ImageState::Valid);
    EXPECT_EQ(decodeApInfo(apInfoRecord(area)), (Version{2, 3, 400}));

    auto damaged = area;
    damaged[kImageHeaderBytes + 300] = 0;
    EXPECT_EQ(checkApplicationImage(damaged), ImageState::Damaged);
    auto tooLong = area;
    tooLong[kImageLengthAt + 2] = 0x01;  // longer than the area
    EXPECT_EQ(checkApplicationImage(tooLong), ImageState::Damaged);
    EXPECT_EQ(checkApplicationImage(std::vector<std::uint8_t>(2048, 0xFF)), ImageState::Blank);
    EXPECT_TRUE(decodeApInfo(apInfoRecord(std::vector<std::uint8_t>(2048, 0xFF))).isNone());
    EXPECT_EQ(checkApplicationImage(std::span(area).first(10)), ImageState::Damaged);
}

TEST(ControllerRecords, FwInfoAndVerInfoRoundTrip) {
    FwInfo info;
    info.signature.fill('S');
    info.layoutId = 0x1234;
    info.erasePageBytes = 1024;
    info.erasePageCount = 64;
    info.imageStart = 2048;
    const Record record = encodeFwInfo(info);
    EXPECT_EQ(record[4], 'S');
    EXPECT_EQ(record[20], 0x34);
    EXPECT_EQ(record[36] | (record[37] << 8), 2048);
    EXPECT_EQ(decodeFwInfo(record), info);
    EXPECT_EQ(info.areaBytes(), 65536u);

    EXPECT_EQ(decodeVerInfo(encodeVerInfo(u"V1.23")), u"V1.23");
    Record erased;
    erased.fill(0xFF);
    EXPECT_FALSE(decodeVerInfo(erased));
    Record allOnesCount = encodeVerInfo(u"x");
    allOnesCount[0] = allOnesCount[1] = allOnesCount[2] = allOnesCount[3] = 0xFF;
    EXPECT_FALSE(decodeVerInfo(allOnesCount));
    EXPECT_EQ(decodeVerInfo(encodeVerInfo(std::u16string(40, u'a')))->size(), 28u) << "cut to the text area";
    EXPECT_EQ(versionText({1, 2, 3}), "1.2.3");
}

}  // namespace
}  // namespace firmware
