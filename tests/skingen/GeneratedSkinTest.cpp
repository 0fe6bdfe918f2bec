// The generated skin set holds every section, key and picture of the key table at every resolution,
// and its pictures fit their pages.
#include "GeneratedSkin.h"
#include "SkinPictures.h"
#include "UpdaterSkin.h"

#include <QFile>
#include <QImage>
#include <QImageReader>
#include <gtest/gtest.h>

namespace {

using namespace skindocs;
using skintest::ToQString;

std::u16string_view MessagePage(std::u16string_view section) {
    // The warning's message sections place their texts on the warning's page.
    if (section == keys::kNoSave || section == keys::kFwUpdates) return keys::kWarnDlg;
    return section;
}

bool IsMenu(std::u16string_view section) {
    return section == keys::kLedStarMenu || section == keys::kLedMultiMenu || section == keys::kLedMultiStarMenu ||
           section == keys::kLedMultiMirageMenu;
}

// The area a record must lie in: its page, the LED page for a menu's own place, the menu for its items.
QSize RecordBounds(skintest::SkinSet& set, std::u16string_view section, std::u16string_view key) {
    if (IsMenu(section))
        return key == keys::kButtonMenu ? set.PageSize(keys::kLed) : set.Record(section, keys::kButtonMenu).size();
    return set.PageSize(MessagePage(section));
}

QImage Cut(const QString& path, const QRect& rect) { return QImage(path).copy(rect); }

class GeneratedSkin : public ::testing::TestWithParam<const char*> {
protected:
    std::unique_ptr<skintest::SkinSet> set_ = skintest::LoadSkinSet(GetParam());
    std::unique_ptr<skintest::SkinSet> german_ = skintest::LoadSkinSet(GetParam(), "de");
};

TEST_P(GeneratedSkin, EveryPictureOfTheTableExistsAtThePageSizeAndTwiceIt) {
    for (const SkinKeyEntry& entry : SkinKeyTable()) {
        if (entry.kind != SkinKeyKind::PictureFile) continue;
        SCOPED_TRACE(ToQString(entry.section).toStdString() + "/" + ToQString(entry.key).toStdString());
        const QString name = set_->Value(set_->skin, entry.section, entry.key);
        ASSERT_FALSE(name.isEmpty());
        const QString path = set_->PicturePath(entry.folder, name);
        const QImage picture(path);
        ASSERT_FALSE(picture.isNull()) << path.toStdString();
        EXPECT_EQ(picture.size(), set_->PageSize(entry.section));
        const QString twice = path.left(path.lastIndexOf('.')) + "@2x" + path.mid(path.lastIndexOf('.'));
        EXPECT_EQ(QImageReader(twice).size(), picture.size() * 2) << twice.toStdString();
        if (entry.key == keys::kMask) {
            // White (cut away) in the rounded corner, black (kept) in the middle.
            EXPECT_EQ(picture.pixel(0, 0), qRgb(255, 255, 255));
            EXPECT_EQ(picture.pixel(picture.width() / 2, picture.height() / 2), qRgb(0, 0, 0));
            EXPECT_EQ(picture.pixel(picture.width() / 2, 0), qRgb(0, 0, 0));
        }
    }
}

TEST_P(GeneratedSkin, EveryRecordParsesAndLiesInsideItsPage) {
    for (const SkinKeyEntry& entry : SkinKeyTable()) {
        if (entry.document != SkinDocumentId::Buttons || entry.kind != SkinKeyKind::Record) continue;
        SCOPED_TRACE(ToQString(entry.section).toStdString() + "/" + ToQString(entry.key).toStdString());
        ASSERT_FALSE(set_->Value(set_->buttons, entry.section, entry.key).isEmpty());
        const QRect rect = set_->Record(entry.section, entry.key);
        const QSize bounds = RecordBounds(*set_, entry.section, entry.key);
        ASSERT_TRUE(bounds.isValid());
        EXPECT_GE(rect.width(), 0);
        EXPECT_GE(rect.height(), 0);
        if (rect.isEmpty()) continue;  // created hidden, never shown
        EXPECT_TRUE(QRect(QPoint(), bounds).contains(rect))
            << rect.x() << "," << rect.y() << " " << rect.width() << "x" << rect.height();
    }
}

TEST_P(GeneratedSkin, ValuesAttributesAndTextsAreFilledInBothLanguages) {
    for (const SkinKeyEntry& entry : SkinKeyTable()) {
        SCOPED_TRACE(ToQString(entry.section).toStdString() + "/" + ToQString(entry.key).toStdString() + " " +
                     ToQString(entry.attribute).toStdString());
        if (entry.document == SkinDocumentId::Buttons && entry.kind == SkinKeyKind::Value) {
            bool ok = false;
            const int value = set_->Value(set_->buttons, entry.section, entry.key).toInt(&ok);
            EXPECT_TRUE(ok);
            EXPECT_GT(value, 0);
            EXPECT_LT(value, set_->PageSize(entry.section == keys::kSubDlg ? keys::kMain : entry.section).height());
        } else if (entry.document == SkinDocumentId::Buttons && entry.kind == SkinKeyKind::Attribute) {
            const QString value = set_->Attribute(entry.section, entry.key, entry.attribute);
            EXPECT_FALSE(value.isEmpty());
            if (entry.attribute == keys::kSize) {
                // A character height: the pixel size the toolkit draws at, written negative.
                EXPECT_LT(value.toInt(), 0);
            } else if (entry.attribute != keys::kFont) {
                EXPECT_GT(value.toInt(), 0);
            }
        } else if (entry.document == SkinDocumentId::Strings) {
            // Window buttons that show an icon have no caption.
            if (entry.key == keys::kButtonMin || entry.key == keys::kButtonClose) continue;
            EXPECT_FALSE(set_->Value(set_->strings, entry.section, entry.key).isEmpty());
            EXPECT_FALSE(german_->Value(german_->strings, entry.section, entry.key).isEmpty());
        } else if (entry.document == SkinDocumentId::Skin && entry.kind == SkinKeyKind::Value) {
            EXPECT_FALSE(set_->Value(set_->skin, entry.section, entry.key).isEmpty());
        }
    }
}

TEST_P(GeneratedSkin, TintTemplateAndThumbsFitTheirWidgets) {
    const QRect led = set_->Record(keys::kLed, keys::kButtonLed[0]);
    const QImage tint(set_->PicturePath(SkinFolder::Resolution, ToQString(keys::kLedTintTemplate)));
    ASSERT_FALSE(tint.isNull());
    EXPECT_EQ(tint.size(), QSize(led.width(), led.width()));
    // Grey levels with alpha = intensity: full light in the middle, none at the corners.
    const QRgb centre = tint.pixel(tint.width() / 2, tint.height() / 2);
    EXPECT_GE(qRed(centre), 200);
    EXPECT_EQ(qAlpha(centre), qRed(centre));
    EXPECT_EQ(qRed(tint.pixel(0, 0)), 0);

    const int sliderHeight = set_->Record(keys::kLed, keys::kSliderR).height();
    for (std::u16string_view name : {keys::kRgbThumb, keys::kRgbThumbOver, keys::kLevelThumb, keys::kLevelThumbOver}) {
        SCOPED_TRACE(ToQString(name).toStdString());
        const QImage thumb(set_->PicturePath(SkinFolder::Resolution, ToQString(name)));
        ASSERT_FALSE(thumb.isNull());
        EXPECT_TRUE(thumb.hasAlphaChannel());
        EXPECT_EQ(thumb.height(), sliderHeight);
        EXPECT_EQ(qAlpha(thumb.pixel(0, 0)), 0);
        EXPECT_EQ(qAlpha(thumb.pixel(thumb.width() / 2, thumb.height() / 2)), 255);
    }
}

// Every button a person can point at looks different when hovered and when pressed or checked.
TEST_P(GeneratedSkin, ButtonStatesAreDistinguishable) {
    for (const skingen::Page& page : skintest::SkinDescription().pages) {
        const std::u16string section = skintest::ToU16(page.section);
        if (!page.states.contains("DOWN")) continue;
        const SkinFolder folder = page.folder == "PopDlg" ? SkinFolder::PopDlg
                                  : page.folder == "Menu" ? SkinFolder::Menu
                                                          : SkinFolder::Resolution;
        auto state = [&](std::u16string_view key) {
            return set_->PicturePath(folder, set_->Value(set_->skin, section, key));
        };
        for (const skingen::Widget& widget : page.widgets) {
            if (widget.kind != "button" || widget.style == "plain" || widget.style.isEmpty()) continue;
            SCOPED_TRACE((page.section + "/" + widget.key).toStdString());
            const QRect rect = set_->Record(section, skintest::ToU16(widget.key));
            const QImage normal = Cut(state(keys::kNormal), rect);
            EXPECT_NE(normal, Cut(state(keys::kOver), rect));
            EXPECT_NE(normal, Cut(state(keys::kDown), rect));
            EXPECT_NE(Cut(state(keys::kOver), rect), Cut(state(keys::kDown), rect));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Resolutions, GeneratedSkin, ::testing::Values("1920x1080", "1366x768", "960x540"));

// The updater's layout document and pictures, compiled in as resources.
TEST(GeneratedUpdaterSkin, LayoutDocumentAndPicturesByRole) {
    updater_skin::InitUpdaterSkin();
    QFile file(updater_skin::LayoutPath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_GE(bytes.size(), 2);
    EXPECT_EQ(bytes.left(2), QByteArray("\xFF\xFE", 2));  // UTF-16 little-endian with its mark
    xml::CXmlDocument layout;
    ASSERT_TRUE(layout.LoadBytes(bytes.constData(), std::size_t(bytes.size())));
    for (const SkinKeyEntry& entry : SkinKeyTable()) {
        if (entry.document != SkinDocumentId::Layout) continue;
        SCOPED_TRACE(ToQString(entry.section).toStdString() + "/" + ToQString(entry.key).toStdString());
        if (entry.kind == SkinKeyKind::Attribute) {
            // The version font's face is deliberately empty.
            if (entry.attribute != keys::kFont) {
                EXPECT_FALSE(xml::LookupAttribute(layout, entry.section, entry.key, entry.attribute).empty());
            }
        } else {
            EXPECT_FALSE(xml::LookupValue(layout, entry.section, entry.key).empty());
        }
    }
    const skin::SkinRecord bar = skin::ParseSkinRecord(xml::LookupValue(layout, keys::kUpdate, keys::kRectUpdate));
    EXPECT_EQ(ToQString(xml::LookupAttribute(layout, keys::kConfirm, keys::kRectVer, keys::kSize)), "-16");

    using P = updater_skin::UpdaterPicture;
    const QImage main(updater_skin::PicturePath(P::MainNormal));
    ASSERT_FALSE(main.isNull());
    for (P role : {P::MainHoverPressed, P::MainDisabled, P::MainOutline, P::SuccessBackground, P::SuccessHover,
                   P::SuccessPressed, P::FailBackground, P::FailHover, P::FailPressed, P::CurrentBackground,
                   P::CurrentHover, P::CurrentPressed, P::ResultOutline}) {
        EXPECT_EQ(QImage(updater_skin::PicturePath(role)).size(), main.size()) << int(role);
    }
    for (P role : {P::BarEmpty, P::BarFull}) {
        EXPECT_EQ(QImage(updater_skin::PicturePath(role)).size(), skin::ToQRect(bar.rect).size()) << int(role);
    }
    EXPECT_FALSE(QImage(updater_skin::PicturePath(P::BarMarker)).isNull());
    for (std::u16string_view key : {keys::kButtonOk, keys::kButtonCancel, keys::kButtonClose}) {
        const QRect button = skin::ToQRect(skin::ParseSkinRecord(xml::LookupValue(layout, keys::kConfirm, key)).rect);
        EXPECT_TRUE(main.rect().contains(button)) << ToQString(key).toStdString();
    }
}

}  // namespace
