#include "PictureAhead.h"
#include "SkinFolderFixture.h"
#include "SkinPictures.h"

#include <QTest>

#include <gtest/gtest.h>

#include <cerrno>

namespace {

using skintest::FilledPicture;
using skintest::SkinFolder;

// A picture decoded ahead is taken only for the file and ratio it was started for, once, with
// LoadPictureFile's outcome as it was when it was decoded; otherwise the caller is told to load it.
TEST(PictureAhead, IsTakenOnlyForItsOwnFileAndRatioWithTheDecodedOutcome) {
    struct Case {
        const char* name;
        const char* startedFile;
        qreal startedRatio;
        const char* takenFile;
        qreal takenRatio;
        bool taken;
        int error;
    };
    const Case cases[] = {
        {"its own file and ratio", "a.bmp", 1.0, "a.bmp", 1.0, true, 0},
        {"another file", "a.bmp", 1.0, "b.bmp", 1.0, false, 0},
        {"another ratio", "a.bmp", 2.0, "a.bmp", 1.0, false, 0},
        {"a missing file", "none.bmp", 1.0, "none.bmp", 1.0, true, ENOENT},
    };
    for (const Case& c : cases) {
        SkinFolder folder;
        folder.WritePicture("Pop", "a.bmp", FilledPicture(30, 20, Qt::darkBlue));
        folder.WritePicture("Pop", "b.bmp", FilledPicture(30, 20, Qt::darkBlue));
        const QString dir = skin::PageImageFolder(QStringLiteral("Pop/"));
        skin::PictureAhead ahead;
        ahead.Start(dir + QString::fromLatin1(c.startedFile), c.startedRatio);
        ASSERT_TRUE(QTest::qWaitFor([&ahead] { return ahead.Ready(); }, 5000)) << c.name;
        // Changed after the decode: what is taken is what was decoded.
        folder.WritePicture("Pop", "a.bmp", FilledPicture(10, 10, Qt::red));
        QImage picture = FilledPicture(1, 1, Qt::green);
        QSize size(-7, -7);
        int error = -1;
        EXPECT_EQ(ahead.Take(dir + QString::fromLatin1(c.takenFile), c.takenRatio, error, picture, size), c.taken) << c.name;
        if (c.taken) {
            EXPECT_EQ(error, c.error) << c.name;
        }
        if (c.taken && c.error == 0) {
            EXPECT_EQ(size, QSize(30, 20)) << c.name;
            EXPECT_EQ(picture.pixelColor(5, 5), QColor(Qt::darkBlue)) << c.name;
        } else {
            EXPECT_EQ(picture.size(), QSize(1, 1)) << c.name << ": left as it was";
            EXPECT_EQ(size, QSize(-7, -7)) << c.name;
        }
        // Taken or dropped, it is gone.
        EXPECT_FALSE(ahead.Take(dir + QString::fromLatin1(c.takenFile), c.takenRatio, error, picture, size)) << c.name;
    }
}

}  // namespace
