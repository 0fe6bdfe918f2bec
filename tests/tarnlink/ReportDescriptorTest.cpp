#include "TestDescriptors.h"
#include "tarnlink/ReportDescriptor.h"

#include <gtest/gtest.h>

namespace tarnlink {
namespace {

using test::kCompositeDescriptor;
using test::kKeyboardDescriptor;
using test::kMouseDescriptor;
using test::kVendorDescriptor;
using test::kVendorNumberedDescriptor;
using Ids = std::vector<std::uint8_t>;

struct Expected {
    const char* name;
    const std::vector<std::uint8_t>* descriptor;
    std::vector<UsagePair> collections;
    bool numbered;
    std::uint16_t input, output, feature;  // byte lengths, id byte included
    Ids inputIds, outputIds;
    std::optional<std::uint8_t> firstOutputId;
};

class RealDescriptor : public ::testing::TestWithParam<Expected> {};

TEST_P(RealDescriptor, GivesTheCapabilities) {
    const Expected& e = GetParam();
    const auto caps = parseReportDescriptor(*e.descriptor);
    ASSERT_TRUE(caps);
    EXPECT_EQ(caps->topLevelCollections, e.collections);
    EXPECT_EQ(caps->numbered, e.numbered);
    EXPECT_EQ(caps->byteLength(ReportType::Input), e.input);
    EXPECT_EQ(caps->byteLength(ReportType::Output), e.output);
    EXPECT_EQ(caps->byteLength(ReportType::Feature), e.feature);
    EXPECT_EQ(caps->reportIds(ReportType::Input), e.inputIds);
    EXPECT_EQ(caps->reportIds(ReportType::Output), e.outputIds);
    EXPECT_EQ(caps->firstOutputReportId, e.firstOutputId);
}

INSTANTIATE_TEST_SUITE_P(
    Devices, RealDescriptor,
    ::testing::Values(
        Expected{"VendorWithoutIds", &kVendorDescriptor, {{0xFF00, 1}}, false, 65, 65, 0, {0}, {0}, 0},
        Expected{"VendorWithIds", &kVendorNumberedDescriptor, {{0xFF00, 1}}, true, 65, 65, 9, {1, 2}, {1}, 1},
        Expected{"Keyboard", &kKeyboardDescriptor, {{0x01, 6}}, false, 9, 2, 0, {0}, {0}, 0},
        Expected{"MouseWithIds", &kMouseDescriptor, {{0x01, 2}}, true, 7, 0, 0, {2}, {}, std::nullopt},
        Expected{"Composite", &kCompositeDescriptor, {{0x01, 6}, {0x0C, 1}, {0xFF00, 1}}, true, 33, 33, 0,
                 {1, 2, 3}, {3}, 3}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(ReportDescriptor, PerReportLengthsOfANumberedDevice) {
    const auto caps = parseReportDescriptor(kCompositeDescriptor);
    ASSERT_TRUE(caps);
    EXPECT_EQ(caps->dataLength(ReportType::Input, 1), 7);
    EXPECT_EQ(caps->dataLength(ReportType::Input, 2), 2);
    EXPECT_EQ(caps->dataLength(ReportType::Input, 3), 32);
    EXPECT_EQ(caps->dataLength(ReportType::Input, 4), std::nullopt);
}

TEST(ReportDescriptor, ButtonsComeBeforeValuesForTheFirstOutputItem) {
    // Output value in report 5 first, then an output button (one-bit variable) in report 6.
    const std::vector<std::uint8_t> d = {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x05, 0x75, 0x08,
                                         0x95, 0x04, 0x09, 0x01, 0x91, 0x02, 0x85, 0x06, 0x75, 0x01, 0x95,
                                         0x08, 0x09, 0x02, 0x91, 0x02, 0xC0};
    const auto caps = parseReportDescriptor(d);
    ASSERT_TRUE(caps);
    EXPECT_EQ(caps->firstOutputReportId, 6);
}

TEST(ReportDescriptor, ExtendedUsageCarriesItsOwnPage) {
    const std::vector<std::uint8_t> d = {0x05, 0x01, 0x0B, 0x01, 0x00, 0x00, 0xFF, 0xA1, 0x01,
                                         0x75, 0x08, 0x95, 0x01, 0x81, 0x02, 0xC0};
    const auto caps = parseReportDescriptor(d);
    ASSERT_TRUE(caps);
    EXPECT_EQ(caps->topLevelCollections, (std::vector<UsagePair>{{0xFF00, 1}}));
}

TEST(ReportDescriptor, LongItemsAreSkipped) {
    std::vector<std::uint8_t> d = {0xFE, 0x02, 0x10, 0xAA, 0xBB};
    d.insert(d.end(), kVendorDescriptor.begin(), kVendorDescriptor.end());
    const auto caps = parseReportDescriptor(d);
    ASSERT_TRUE(caps);
    EXPECT_EQ(caps->byteLength(ReportType::Input), 65);
}

struct Bad {
    const char* name;
    std::vector<std::uint8_t> bytes;
};

class MalformedDescriptor : public ::testing::TestWithParam<Bad> {};

TEST_P(MalformedDescriptor, IsRejected) { EXPECT_FALSE(parseReportDescriptor(GetParam().bytes)); }

std::vector<std::uint8_t> pushes(int count) {
    std::vector<std::uint8_t> d = {0x09, 0x01, 0xA1, 0x01};
    d.insert(d.end(), static_cast<std::size_t>(count), 0xA4);
    d.push_back(0xC0);
    return d;
}

std::vector<std::uint8_t> truncated(std::size_t keep) {
    return {kVendorDescriptor.begin(), kVendorDescriptor.begin() + static_cast<std::ptrdiff_t>(keep)};
}

INSTANTIATE_TEST_SUITE_P(
    Hostile, MalformedDescriptor,
    ::testing::Values(Bad{"Empty", {}}, Bad{"TruncatedItemData", {0x06, 0x00}},
                      Bad{"TruncatedInsideACollection", truncated(20)},
                      Bad{"EndWithoutCollection", {0xC0}}, Bad{"UnclosedCollection", {0x09, 0x01, 0xA1, 0x01}},
                      Bad{"PopWithoutPush", {0x09, 0x01, 0xA1, 0x01, 0xB4, 0xC0}},
                      Bad{"PushesBeyondTheStack", pushes(17)},
                      Bad{"ReportIdZero", {0x09, 0x01, 0xA1, 0x01, 0x85, 0x00, 0xC0}},
                      Bad{"ReservedItemType", {0x0C, 0x09, 0x01, 0xA1, 0x01, 0xC0}},
                      Bad{"HugeReportCount", {0x09, 0x01, 0xA1, 0x01, 0x97, 0xFF, 0xFF, 0xFF, 0xFF, 0xC0}},
                      Bad{"ReportLongerThanHidrawAllows",
                          {0x09, 0x01, 0xA1, 0x01, 0x76, 0x00, 0x01, 0x96, 0x00, 0x30, 0x81, 0x02, 0xC0}},
                      Bad{"NoCollection", {0x05, 0x01, 0x75, 0x08, 0x95, 0x01, 0x81, 0x02}},
                      Bad{"TruncatedLongItem", {0xFE, 0x05, 0x00, 0x01}},
                      Bad{"DataBeforeTheFirstReportId",
                          {0x09, 0x01, 0xA1, 0x01, 0x75, 0x08, 0x95, 0x01, 0x81, 0x02, 0x85, 0x01, 0x81, 0x02, 0xC0}}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(ReportDescriptor, DeepButBoundedNestingIsAccepted) {
    std::vector<std::uint8_t> d;
    for (int i = 0; i < 64; ++i) d.insert(d.end(), {0x09, 0x01, 0xA1, 0x00});
    d.insert(d.end(), 64, 0xC0);
    EXPECT_TRUE(parseReportDescriptor(d));
    d.insert(d.begin(), {0x09, 0x01, 0xA1, 0x00});
    d.push_back(0xC0);
    EXPECT_FALSE(parseReportDescriptor(d));
}

}  // namespace
}  // namespace tarnlink
