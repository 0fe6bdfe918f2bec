// Large pictures on huge pages: where their pixels lie, which part is advised, and that the mapping goes
// with the last copy of the picture.
#include "HugePagePicture.h"

#include <QFile>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>

namespace {

using skin::kHugePageBytes;

// The mapping of this process that holds `address`: its line of /proc/self/smaps with its flags.
struct MappingSeen {
    std::uintptr_t start = 0;
    std::uintptr_t end = 0;
    bool hugePagesAdvised = false;
};

std::optional<MappingSeen> MappingAt(const void* address) {
    QFile smaps(QStringLiteral("/proc/self/smaps"));
    if (!smaps.open(QIODevice::ReadOnly)) return std::nullopt;
    const auto at = reinterpret_cast<std::uintptr_t>(address);
    std::optional<MappingSeen> found;
    for (const QByteArray& line : smaps.readAll().split('\n')) {
        const int dash = line.indexOf('-');
        const int space = line.indexOf(' ');
        if (dash > 0 && space > dash && line.indexOf(':') > space) {
            bool ok = false;
            const auto start = static_cast<std::uintptr_t>(line.left(dash).toULongLong(&ok, 16));
            const auto end = static_cast<std::uintptr_t>(line.mid(dash + 1, space - dash - 1).toULongLong(&ok, 16));
            if (found) return found;  // the holder's flags were read: the next mapping begins
            if (ok && start <= at && at < end) found = MappingSeen{start, end, false};
        } else if (found && line.startsWith("VmFlags:")) {
            found->hugePagesAdvised = line.split(' ').contains("hg");
        }
    }
    return found;
}

TEST(HugePagePicture, WholeHugePagesOfALargePictureAreAdvisedAndTheRestIsNot) {
    struct Case {
        const char* name;
        QSize size;
        QImage::Format format;
        bool onHugePages;
    };
    const Case cases[] = {
        {"two and a half huge pages", QSize(1280, 1024), QImage::Format_RGB32, true},
        {"odd width", QSize(1023, 1537), QImage::Format_ARGB32, true},
        {"exactly one huge page", QSize(512, 1024), QImage::Format_RGB32, true},
        {"one row short of a huge page", QSize(512, 1023), QImage::Format_RGB32, false},
        {"the largest allowed picture", QSize(4096, 4096), QImage::Format_RGB32, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QImage picture = skin::NewPictureOnHugePages(c.size, c.format);
        ASSERT_FALSE(picture.isNull());
        EXPECT_EQ(picture.size(), c.size);
        EXPECT_EQ(picture.format(), c.format);
        EXPECT_EQ(picture.bytesPerLine(), c.size.width() * 4);
        picture.fill(0xff102030u);
        EXPECT_EQ(picture.pixel(c.size.width() - 1, c.size.height() - 1), 0xff102030u);
        const auto first = reinterpret_cast<std::uintptr_t>(picture.constBits());
        const std::uintptr_t end = first + static_cast<std::uintptr_t>(picture.sizeInBytes());
        const std::optional<MappingSeen> head = MappingAt(picture.constBits());
        ASSERT_TRUE(head.has_value());
        if (!c.onHugePages) {
            EXPECT_FALSE(head->hugePagesAdvised);
            continue;
        }
        EXPECT_EQ(first % kHugePageBytes, 0u);
        EXPECT_TRUE(head->hugePagesAdvised);
        const std::uintptr_t wholeEnd = first + static_cast<std::uintptr_t>(picture.sizeInBytes() / kHugePageBytes * kHugePageBytes);
        EXPECT_EQ(head->end, wholeEnd);
        if (wholeEnd < end) {
            // The last part, less than a huge page, stays in small pages and ends with the picture's page.
            const std::optional<MappingSeen> tail = MappingAt(reinterpret_cast<const void*>(wholeEnd));
            ASSERT_TRUE(tail.has_value());
            EXPECT_FALSE(tail->hugePagesAdvised);
            EXPECT_LT(tail->end - end, 4096u);
        }
    }
}

TEST(HugePagePicture, TheMappingGoesWithTheLastCopyOfThePicture) {
    QImage picture = skin::NewPictureOnHugePages(QSize(1280, 1024), QImage::Format_RGB32);
    ASSERT_FALSE(picture.isNull());
    picture.fill(Qt::white);
    const uchar* pixels = picture.constBits();
    QImage copy = picture;
    picture = QImage();
    ASSERT_TRUE(MappingAt(pixels).has_value());
    EXPECT_EQ(copy.pixel(5, 5), QColor(Qt::white).rgb());
    copy = QImage();
    EXPECT_FALSE(MappingAt(pixels).has_value());
}

TEST(HugePagePicture, EmptySizesGiveANullPicture) {
    for (const QSize size : {QSize(0, 0), QSize(0, 600), QSize(800, 0), QSize(-4, 9)}) {
        EXPECT_TRUE(skin::NewPictureOnHugePages(size, QImage::Format_RGB32).isNull()) << size.width() << "x" << size.height();
    }
}

}  // namespace
