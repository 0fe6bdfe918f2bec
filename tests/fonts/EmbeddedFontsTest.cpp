#include "EmbeddedFonts.h"
#include "FontNameTable.h"
#include "UpdaterTitleFont.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QRawFont>
#include <QStringList>

#include <gtest/gtest.h>

#include <vector>

namespace {

using fonts::EmbeddedFonts;
using fonts::FontSlot;

const QString kHeroicCondensed = QStringLiteral("Heroic Condensed");
const QString kHeroicCondensedMedium = QStringLiteral("Heroic Condensed Medium");
const QString kHeroicCondensedBook = QStringLiteral("Heroic Condensed Book");

// The family a font asking for `family` (and `style`, when given) is drawn in.
QString ResolvedFamily(const QString& family, const QString& style = {}) {
    QFont font(family);
    if (!style.isEmpty()) font.setStyleName(style);
    return QFontInfo(font).family();
}

QString ResolvedStyle(const QString& family, const QString& style) {
    QFont font(family);
    font.setStyleName(style);
    return QFontInfo(font).styleName();
}

QStringList FamiliesOf(std::optional<int> handle) {
    return handle ? QFontDatabase::applicationFontFamilies(*handle) : QStringList();
}

// "Heroic Condensed" exists only while registered; "Noto Sans" is also installed on the system, so
// its registration is checked through the family the embedded data itself gave.
TEST(EmbeddedFonts, FacesResolveWhileRegisteredAndNotAfterRemoval) {
    ASSERT_NE(ResolvedFamily(kHeroicCondensed), kHeroicCondensed) << "an installed face would hide the test";

    EmbeddedFonts fonts;
    fonts.RegisterProgramFonts();
    EXPECT_TRUE(FamiliesOf(fonts.Handle(FontSlot::First)).contains(kHeroicCondensed));
    EXPECT_TRUE(FamiliesOf(fonts.Handle(FontSlot::Second)).contains(kHeroicCondensed));
    EXPECT_EQ(FamiliesOf(fonts.Handle(FontSlot::Third)), QStringList{QStringLiteral("Noto Sans")});
    EXPECT_EQ(ResolvedFamily(kHeroicCondensed), kHeroicCondensed);
    EXPECT_EQ(ResolvedStyle(kHeroicCondensed, QStringLiteral("Medium")), QStringLiteral("Medium"));
    EXPECT_EQ(ResolvedStyle(kHeroicCondensed, QStringLiteral("Book")), QStringLiteral("Book"));
    // The Windows-platform family names reach the same faces.
    EXPECT_EQ(ResolvedFamily(kHeroicCondensedMedium), kHeroicCondensedMedium);
    EXPECT_EQ(QFontInfo(QFont(kHeroicCondensedMedium)).styleName(), QStringLiteral("Medium"));
    EXPECT_EQ(QFontInfo(QFont(kHeroicCondensedBook)).styleName(), QStringLiteral("Book"));

    const std::optional<int> notoSans = fonts.Handle(FontSlot::Third);
    fonts.RemoveEmbeddedFonts();
    EXPECT_FALSE(fonts.Handle(FontSlot::First));
    EXPECT_FALSE(fonts.Handle(FontSlot::Second));
    EXPECT_FALSE(fonts.Handle(FontSlot::Third));
    EXPECT_NE(ResolvedFamily(kHeroicCondensed), kHeroicCondensed);
    EXPECT_NE(ResolvedFamily(kHeroicCondensedMedium), kHeroicCondensedMedium);
    EXPECT_FALSE(QFontDatabase::families().contains(kHeroicCondensed));
    EXPECT_TRUE(FamiliesOf(notoSans).isEmpty());
}

TEST(EmbeddedFonts, TakenSlotShowsTheMessageAndKeepsOnlyTheNewFont) {
    std::vector<QString> messages;
    EmbeddedFonts fonts([&](const QString& text) { messages.push_back(text); });
    fonts.RegisterEmbeddedFont(fonts::kHeroicCondensedMediumResource, FontSlot::First);
    ASSERT_TRUE(fonts.Handle(FontSlot::First));
    EXPECT_TRUE(messages.empty());

    fonts.RegisterEmbeddedFont(fonts::kHeroicCondensedMediumResource, FontSlot::First);
    EXPECT_EQ(messages, std::vector<QString>{QStringLiteral("Font hande is not null!!")});
    EXPECT_TRUE(FamiliesOf(fonts.Handle(FontSlot::First)).contains(kHeroicCondensed));

    // A registration left behind by the first call would keep the family after removal.
    fonts.RemoveEmbeddedFonts();
    EXPECT_FALSE(QFontDatabase::families().contains(kHeroicCondensed));
}

// Empty slots must not be mistaken for handles: another owner's font stays registered.
TEST(EmbeddedFonts, RemovingWithEmptySlotsLeavesOtherFontsAlone) {
    fonts::UpdaterTitleFont title;
    ASSERT_TRUE(title.Register());
    std::vector<QString> messages;
    EmbeddedFonts fonts([&](const QString& text) { messages.push_back(text); });
    fonts.RegisterEmbeddedFont(151, FontSlot::Second);  // no such font: the slot stays empty

    fonts.RemoveEmbeddedFonts();
    EXPECT_FALSE(fonts.Handle(FontSlot::Second));
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(FamiliesOf(title.Handle()), QStringList{QStringLiteral("Xolonium")});
}

TEST(UpdaterTitleFont, ResolvesWhileRegisteredAndNotAfterRemoval) {
    const QString xolonium = QString::fromLatin1(fonts::kUpdaterTitleFamily);
    ASSERT_NE(ResolvedFamily(xolonium), xolonium);
    fonts::UpdaterTitleFont title;
    ASSERT_TRUE(title.Register());
    EXPECT_EQ(ResolvedFamily(xolonium), xolonium);
    title.Remove();
    EXPECT_FALSE(title.Handle());
    EXPECT_NE(ResolvedFamily(xolonium), xolonium);
}

struct ExpectedNames {
    QString resourcePath;
    QString family;         // as a font engine reports it (the typographic family)
    QString style;
    QString windowsFamily;  // name id 1
    QString windowsStyle;   // name id 2
    QString fullName;       // name id 4
    QString postScriptName; // name id 6
    QByteArray outlineTable;
};

// The names inside the fonts compiled into the programs, read back from the font data.
TEST(EmbeddedFontFiles, CarryTheFamilyAndStyleNamesTheProgramsAskFor) {
    const EmbeddedFonts programFonts;            // makes the program's resources available
    const fonts::UpdaterTitleFont updaterFont;  // and the updater's
    const std::vector<ExpectedNames> expected = {
        {EmbeddedFonts::ResourcePath(149), kHeroicCondensed, "Medium", kHeroicCondensedMedium,
         "Regular", "Heroic Condensed Medium", "HeroicCondensed-Medium", "glyf"},
        {EmbeddedFonts::ResourcePath(150), kHeroicCondensed, "Book", kHeroicCondensedBook,
         "Regular", "Heroic Condensed Book", "HeroicCondensed-Book", "glyf"},
        {EmbeddedFonts::ResourcePath(148), "Noto Sans", "Regular", "Noto Sans", "Regular",
         "Noto Sans Regular", "NotoSans-Regular", "glyf"},
        {fonts::UpdaterTitleFont::ResourcePath(), "Xolonium", "Regular", "Xolonium", "Regular",
         "Xolonium Regular", "Xolonium-Regular", "CFF "},
    };
    for (const ExpectedNames& font : expected) {
        SCOPED_TRACE(font.resourcePath.toStdString());
        QByteArray data;
        ASSERT_TRUE(fonts::ReadFontResource(font.resourcePath, data));
        const QRawFont raw(data, 20);
        ASSERT_TRUE(raw.isValid());
        EXPECT_EQ(raw.familyName(), font.family);
        EXPECT_EQ(raw.styleName(), font.style);
        EXPECT_FALSE(raw.fontTable(font.outlineTable.constData()).isEmpty());

        const std::map<int, QString> names = fonts_test::WindowsEnglishNames(raw.fontTable("name"));
        const auto name = [&](int id) { return names.contains(id) ? names.at(id) : QString(); };
        EXPECT_EQ(name(1), font.windowsFamily);
        EXPECT_EQ(name(2), font.windowsStyle);
        EXPECT_EQ(name(4), font.fullName);
        EXPECT_EQ(name(6), font.postScriptName);
        if (font.windowsFamily != font.family) {
            EXPECT_EQ(name(16), font.family);
            EXPECT_EQ(name(17), font.style);
        }
    }
}

}  // namespace
