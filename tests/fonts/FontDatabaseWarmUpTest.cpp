// Its own test program, so that the font list is still unread when the test begins: the warm-up's
// reading then runs while the main thread registers the program's fonts and looks them up.
#include "EmbeddedFonts.h"
#include "FontDatabaseWarmUp.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QStringList>

#include <gtest/gtest.h>

namespace {

TEST(FontDatabaseWarmUp, FontsRegisteredWhileTheListIsReadResolveAsWithoutIt) {
    fonts::EmbeddedFonts programFonts;
    {
        fonts::FontDatabaseWarmUp warmUp;
        const fonts::FontDatabaseWarmUp::ListReading reading = warmUp.ReadFontList();
        programFonts.RegisterProgramFonts();
        QFont medium(QStringLiteral("Heroic Condensed"));
        medium.setStyleName(QStringLiteral("Medium"));
        EXPECT_EQ(QFontInfo(medium).family(), QStringLiteral("Heroic Condensed"));
        EXPECT_EQ(QFontInfo(medium).styleName(), QStringLiteral("Medium"));
    }
    // The list read on the worker is the one the main thread uses: installed faces and ours alike.
    const QStringList families = QFontDatabase::families();
    EXPECT_TRUE(families.contains(QStringLiteral("Heroic Condensed")));
    EXPECT_TRUE(families.contains(QStringLiteral("Noto Sans")));
    EXPECT_EQ(QFontInfo(QFont(QStringLiteral("Heroic Condensed Book"))).styleName(), QStringLiteral("Book"));
}

}  // namespace
