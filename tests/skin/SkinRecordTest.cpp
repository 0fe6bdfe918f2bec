#include "SkinPictures.h"
#include "SkinRecord.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

struct RecordCase {
    std::u16string record;
    skin::SkinRect rect;
    std::u16string text;
    int flag;
    bool updaterFlag;
};

TEST(SkinRecord, ParsesRectangleTextAndBothFlagReadings) {
    const RecordCase cases[] = {
        // The usual record: empty name, empty text, FALSE.
        {u",347,127,173,21,,FALSE", {347, 127, 520, 148}, u"", 0, false},
        {u",347,127,173,21,,TRUE", {347, 127, 520, 148}, u"", 0, true},
        {u"BUTTON_MIN,10,20,30,40,Caption,1", {10, 20, 40, 60}, u"Caption", 1, false},
        {u"X,1,2,3,4,,12abc", {1, 2, 4, 6}, u"", 12, false},
        // A missing key gives an empty record.
        {u"", {}, u"", 0, false},
        {u"NAMEONLY", {}, u"", 0, false},
        // Numbers that cannot be read are 0, and end the scan.
        {u",5,x,7,8,,0", {5, 0, 5, 0}, u"", 0, false},
        {u", -5,+6,7,8,T,TRUE", {-5, 6, 2, 14}, u"T", 0, true},
        // TRUE in the name does not count for the updater.
        {u"TRUE,1,1,1,1,,0", {1, 1, 2, 2}, u"", 0, false},
        // Huge numbers saturate instead of overflowing.
        {u",99999999999,0,2147483647,1,,0", {INT_MAX, 0, INT_MAX, 1}, u"", 0, false},
        {u",-2147483648,0,-5,1,,0", {INT_MIN, 0, INT_MIN, 1}, u"", 0, false},
    };
    for (const auto& c : cases) {
        const skin::SkinRecord record = skin::ParseSkinRecord(c.record);
        const std::string shown(c.record.begin(), c.record.end());
        EXPECT_EQ(record.rect, c.rect) << shown;
        EXPECT_EQ(record.text, c.text) << shown;
        EXPECT_EQ(record.flag, c.flag) << shown;
        EXPECT_EQ(record.updaterFlag, c.updaterFlag) << shown;
    }
}

}  // namespace

namespace {

TEST(SkinRecord, RectanglesFromRecordsStayFarInsideTheRangeOfInt) {
    struct Case {
        skin::SkinRect rect;
        QRect expected;
    };
    const Case cases[] = {
        {{347, 127, 520, 148}, QRect(347, 127, 173, 21)},
        {{10, 10, 5, 5}, QRect(10, 10, 0, 0)},  // negative sizes give an empty rectangle
        {{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, QRect(-(1 << 24), -(1 << 24), (1 << 24) - 1, (1 << 24) - 1)},
        {{INT_MAX, 0, INT_MAX, 1}, QRect(1 << 24, 0, 0, 1)},
    };
    for (const auto& c : cases) {
        const QRect rect = skin::ToQRect(c.rect);
        EXPECT_EQ(rect, c.expected) << c.rect.left << "," << c.rect.top;
        // Edges and a point beyond them can be computed without overflow.
        EXPECT_LT(static_cast<long long>(rect.right()) + rect.width(), INT_MAX);
        EXPECT_GT(static_cast<long long>(rect.left()) - rect.width(), INT_MIN);
    }
}

}  // namespace
