#include "ReportFraming.h"
#include "TestDescriptors.h"

#include <gtest/gtest.h>

namespace tarnlink {
namespace {

using Bytes = std::vector<std::uint8_t>;

ReportCapabilities capsOf(const Bytes& descriptor) { return *parseReportDescriptor(descriptor); }

constexpr UsagePair kVendorCollection{0xFF00, 1};

TEST(ReportFraming, InputWithoutIdsGetsByteZeroAndKeepsItsLength) {
    const auto caps = capsOf(test::kVendorDescriptor);
    Bytes wire(64);
    for (std::size_t i = 0; i < wire.size(); ++i) wire[i] = static_cast<std::uint8_t>(i + 1);
    Bytes out(1000, 0xEE);
    ASSERT_TRUE(normaliseInputReport(caps, kVendorCollection, wire, out));
    EXPECT_EQ(out[0], 0);
    EXPECT_TRUE(std::equal(wire.begin(), wire.end(), out.begin() + 1));
}

TEST(ReportFraming, ShorterNumberedInputIsZeroPaddedToTheLongestReport) {
    const auto caps = capsOf(test::kVendorNumberedDescriptor);
    const Bytes wire = {2, 1, 2, 3, 4, 5, 6, 7, 8};
    Bytes out(1000, 0xEE);
    ASSERT_TRUE(normaliseInputReport(caps, kVendorCollection, wire, out));
    EXPECT_EQ(Bytes(out.begin(), out.begin() + 9), wire);
    EXPECT_TRUE(std::all_of(out.begin() + 9, out.begin() + 65, [](std::uint8_t b) { return b == 0; }));
}

TEST(ReportFraming, InputOfAnotherLengthOrUnknownIdIsDropped) {
    const auto plain = capsOf(test::kVendorDescriptor);
    const auto numbered = capsOf(test::kVendorNumberedDescriptor);
    Bytes out(1000);
    EXPECT_FALSE(normaliseInputReport(plain, kVendorCollection, Bytes(63), out));
    EXPECT_FALSE(normaliseInputReport(plain, kVendorCollection, Bytes(65), out));
    EXPECT_FALSE(normaliseInputReport(numbered, kVendorCollection, Bytes{}, out));
    Bytes unknownId(65);
    unknownId[0] = 7;
    EXPECT_FALSE(normaliseInputReport(numbered, kVendorCollection, unknownId, out));
    Bytes shortReportOne(10);
    shortReportOne[0] = 1;
    EXPECT_FALSE(normaliseInputReport(numbered, kVendorCollection, shortReportOne, out));
}

TEST(ReportFraming, InputOfAnotherCollectionIsDropped) {
    const auto composite = capsOf(test::kCompositeDescriptor);
    const Bytes keyboardReport = {1, 2, 0, 4, 0, 0, 0, 0};
    Bytes out(1000);
    EXPECT_FALSE(normaliseInputReport(composite, kVendorCollection, keyboardReport, out));
    ASSERT_TRUE(normaliseInputReport(composite, UsagePair{0x01, 6}, keyboardReport, out));
    EXPECT_EQ(Bytes(out.begin(), out.begin() + 8), keyboardReport);
    // Each collection has the input length of its own longest report.
    EXPECT_EQ(composite.inputByteLengthOf(UsagePair{0x01, 6}), 8);
    EXPECT_EQ(composite.inputByteLengthOf(UsagePair{0x0C, 1}), 3);
    EXPECT_EQ(composite.inputByteLengthOf(kVendorCollection), 33);
}

TEST(ReportFraming, OutputStartsWithTheFirstOutputItemsIdAndIsZeroFilled) {
    const Bytes data = {0xA, 0xB, 0xC};
    const auto plain = buildOutputReport(capsOf(test::kVendorDescriptor), kVendorCollection, data);
    ASSERT_TRUE(plain);
    ASSERT_EQ(plain->size(), 65u);
    EXPECT_EQ((Bytes(plain->begin(), plain->begin() + 4)), (Bytes{0, 0xA, 0xB, 0xC}));
    EXPECT_TRUE(std::all_of(plain->begin() + 4, plain->end(), [](std::uint8_t b) { return b == 0; }));

    // A numbered device: the id and length are those of the addressed collection's first output item.
    struct Case {
        const char* what;
        const Bytes* descriptor;
        UsagePair collection;
        std::uint8_t id;
        std::size_t size;
    };
    for (const Case& c : {Case{"composite, vendor", &test::kCompositeDescriptor, kVendorCollection, 3, 33},
                          Case{"keyboard leds, vendor", &test::kKeyboardLedsAndVendorDescriptor, kVendorCollection, 3,
                               65},
                          Case{"keyboard leds, keyboard", &test::kKeyboardLedsAndVendorDescriptor, {0x01, 6}, 1, 2}}) {
        SCOPED_TRACE(c.what);
        const auto numbered = buildOutputReport(capsOf(*c.descriptor), c.collection, Bytes{0xA});
        ASSERT_TRUE(numbered);
        EXPECT_EQ(numbered->size(), c.size);
        EXPECT_EQ((*numbered)[0], c.id);
    }
}

TEST(ReportFraming, OutputThatDoesNotFitOrHasNoOutputItemIsRefused) {
    const auto plain = capsOf(test::kVendorDescriptor);
    EXPECT_TRUE(buildOutputReport(plain, kVendorCollection, Bytes(64)));
    EXPECT_FALSE(buildOutputReport(plain, kVendorCollection, Bytes(65)));
    EXPECT_FALSE(buildOutputReport(plain, UsagePair{0x01, 6}, Bytes(1)));  // no such collection
    EXPECT_FALSE(buildOutputReport(capsOf(test::kMouseDescriptor), UsagePair{0x01, 2}, Bytes(1)));
    // The composite's keyboard and consumer collections have no output item of their own.
    EXPECT_FALSE(buildOutputReport(capsOf(test::kCompositeDescriptor), UsagePair{0x01, 6}, Bytes(1)));
}

}  // namespace
}  // namespace tarnlink
