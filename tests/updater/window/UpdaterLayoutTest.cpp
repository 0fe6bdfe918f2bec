#include "SkinPictures.h"
#include "SkinRecord.h"
#include "UpdaterLayout.h"
#include "XmlDocument.h"

#include <gtest/gtest.h>

namespace {

using updater::UpdaterLayout;

QRect RecordRect(const std::u16string& record) { return skin::ToQRect(skin::ParseSkinRecord(record).rect); }

// The document compiled into the updater gives the page the placement the page pictures were drawn for.
TEST(UpdaterLayout, CompiledInDocumentValues) {
    const UpdaterLayout layout = updater::LoadUpdaterLayout();
    EXPECT_EQ(layout.titleRect, QRect());  // MAIN/RECT_TITLE is absent
    EXPECT_EQ(layout.barRect, QRect(59, 268, 684, 16));
    EXPECT_FALSE(layout.barMarker);

    const struct {
        const char* name;
        const std::u16string& record;
        QRect rect;
    } buttons[] = {
        {"CONFIRM/BUTTON_OK", layout.confirmOk, QRect(239, 323, 124, 45)},
        {"CONFIRM/BUTTON_CANCEL", layout.confirmCancel, QRect(438, 323, 126, 46)},
        {"CONFIRM/BUTTON_CLOSE", layout.confirmClose, QRect(748, 18, 30, 30)},
        {"SUCCESS/BUTTON_OK", layout.resultOk, QRect(339, 324, 123, 44)},
        {"SUCCESS/BUTTON_CLOSE", layout.resultClose, QRect(740, 20, 35, 26)},
    };
    for (const auto& button : buttons) EXPECT_EQ(RecordRect(button.record), button.rect) << button.name;

    EXPECT_EQ(layout.layoutName.rect, QRect(279, 99, 0, 0));
    // The versions' lines are those of the labels baked beside them ("Installed:", "New:").
    EXPECT_EQ(layout.updateVersion.rect, QRect(347, 123, 173, 24));
    EXPECT_EQ(layout.currentVersion.rect, QRect(359, 98, 161, 24));
    for (const QColor& color : {layout.layoutName.color, layout.updateVersion.color, layout.currentVersion.color}) {
        EXPECT_EQ(color, QColor(Qt::white));
    }
    EXPECT_EQ(layout.versionFace, QString());
    EXPECT_EQ(layout.versionHeight, -16);  // the pixel size of the labels baked beside the versions
}

// Values that the shipped document does not exercise: a marker, a title, colours present and absent.
TEST(UpdaterLayout, OtherDocumentValues) {
    xml::CXmlDocument document;
    document.SetText(
        u"<LAYOUT><MAIN><RECT_TITLE>RECT_TITLE,10,20,300,40,,FALSE</RECT_TITLE></MAIN>"
        u"<UPDATE><BAR_ICON>2</BAR_ICON><RECT_UPDATE>,1,2,3,4,,FALSE</RECT_UPDATE></UPDATE>"
        u"<CONFIRM><RECT_LAYOUT COLOR=255>,5,6,0,0,,FALSE</RECT_LAYOUT>"
        u"<RECT_VER FONT=Serif SIZE=-18 COLOR=16711680>,7,8,9,10,,FALSE</RECT_VER></CONFIRM></LAYOUT>");
    const UpdaterLayout layout = updater::ReadUpdaterLayout(document);
    EXPECT_EQ(layout.titleRect, QRect(10, 20, 300, 40));
    EXPECT_TRUE(layout.barMarker);
    EXPECT_EQ(layout.barRect, QRect(1, 2, 3, 4));
    EXPECT_EQ(layout.layoutName.color, QColor(255, 0, 0));
    EXPECT_EQ(layout.updateVersion.color, QColor(0, 0, 255));
    EXPECT_EQ(layout.currentVersion.color, QColor(Qt::white));  // absent record, absent colour
    EXPECT_EQ(layout.currentVersion.rect, QRect());
    EXPECT_EQ(layout.versionFace, QStringLiteral("Serif"));
    EXPECT_EQ(layout.versionHeight, -18);
    EXPECT_TRUE(layout.confirmOk.empty());
}

}  // namespace

