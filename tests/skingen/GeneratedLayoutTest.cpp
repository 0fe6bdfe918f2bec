// The generated layout is coherent at every resolution: on each page no two widgets or labels overlap
// unless the description makes one a container of the other, nothing leaves the page, and the LED
// page's menus stay clear of its widgets.
#include "ColorPickerFactories.h"
#include "GeneratedSkin.h"

#include <QWidget>

#include <gtest/gtest.h>

namespace {

using skintest::ToU16;

struct Placed {
    QString key;
    QRect rect;
    bool container = false;
};

// The rectangles a page's records give at this resolution (hidden, zero-size records left out).
QList<Placed> PlacedRecords(skintest::SkinSet& set, const skingen::Page& page) {
    QList<Placed> placed;
    const std::u16string section = ToU16(page.section);
    for (const skingen::Widget& widget : page.widgets) {
        const QRect rect = set.Record(section, ToU16(widget.key));
        if (!rect.isEmpty()) placed.append({widget.key, rect, widget.container});
    }
    for (const skingen::Label& label : page.labels) {
        const QString labelSection = label.sections.isEmpty() ? page.section : label.sections.first();
        placed.append({label.key, set.Record(ToU16(labelSection), ToU16(label.key)), false});
    }
    return placed;
}

bool Allowed(const Placed& a, const Placed& b) {
    return (a.container && a.rect.contains(b.rect)) || (b.container && b.rect.contains(a.rect));
}

class GeneratedLayout : public ::testing::TestWithParam<const char*> {
protected:
    std::unique_ptr<skintest::SkinSet> set_ = skintest::LoadSkinSet(GetParam());
};

TEST_P(GeneratedLayout, WidgetsOfAPageDoNotOverlapAndStayOnIt) {
    for (const skingen::Page& page : skintest::SkinDescription().pages) {
        SCOPED_TRACE(page.section.toStdString());
        const QList<Placed> placed = PlacedRecords(*set_, page);
        const QSize size = page.placement.isValid() ? set_->Record(ToU16(page.section), u"BUTTON_MENU").size()
                                                    : set_->PageSize(ToU16(page.section));
        for (qsizetype i = 0; i < placed.size(); ++i) {
            EXPECT_TRUE(QRect(QPoint(), size).contains(placed[i].rect)) << placed[i].key.toStdString();
            for (qsizetype j = i + 1; j < placed.size(); ++j) {
                if (Allowed(placed[i], placed[j])) continue;
                EXPECT_FALSE(placed[i].rect.intersects(placed[j].rect))
                    << placed[i].key.toStdString() << " overlaps " << placed[j].key.toStdString();
            }
        }
    }
}

TEST_P(GeneratedLayout, FrequencyPanelsStayInsideTheirArea) {
    const QRect area = set_->Record(skindocs::keys::kLed, skindocs::keys::kRectSync);
    for (const char* section : {"LED_SYNC1", "LED_SYNC2"}) {
        const skingen::Page* page = skintest::SkinDescription().FindPage(section);
        ASSERT_NE(page, nullptr);
        for (const Placed& p : PlacedRecords(*set_, *page)) EXPECT_TRUE(area.contains(p.rect)) << p.key.toStdString();
    }
}

TEST_P(GeneratedLayout, MenusStayClearOfTheLedPageAndOfEachOther) {
    const skingen::Description& description = skintest::SkinDescription();
    const QList<Placed> led = PlacedRecords(*set_, *description.FindPage("LED"));
    QList<const skingen::Page*> menus;
    for (const skingen::Page& page : description.pages)
        if (page.placement.isValid()) menus << &page;
    ASSERT_EQ(menus.size(), 4);
    for (const skingen::Page* menu : menus) {
        const QRect place = set_->Record(ToU16(menu->section), u"BUTTON_MENU");
        for (const Placed& p : led) {
            if (p.container) continue;
            EXPECT_FALSE(place.intersects(p.rect)) << menu->section.toStdString() << " over " << p.key.toStdString();
        }
        for (const skingen::Page* other : menus) {
            if (other == menu || menu->sharesPlaceWith.contains(other->section)) continue;
            EXPECT_FALSE(place.intersects(set_->Record(ToU16(other->section), u"BUTTON_MENU")))
                << menu->section.toStdString() << " over " << other->section.toStdString();
        }
    }
}

// Every control is large enough to hit at every resolution; the hue bar in particular keeps a
// gradient a pointer can follow between the room of its markers.
TEST_P(GeneratedLayout, ControlsAreLargeEnoughToHit) {
    constexpr int kSmallestControl = 16;
    constexpr int kSmallestHueGradient = 8;
    for (const skingen::Page& page : skintest::SkinDescription().pages) {
        for (const skingen::Widget& widget : page.widgets) {
            if (widget.kind != "button" && widget.kind != "slider" && widget.kind != "picker") continue;
            const QRect rect = set_->Record(ToU16(page.section), ToU16(widget.key));
            if (rect.isEmpty()) continue;
            SCOPED_TRACE((page.section + "/" + widget.key).toStdString());
            EXPECT_GE(rect.width(), kSmallestControl);
            EXPECT_GE(rect.height(), kSmallestControl);
        }
    }
    QWidget led;
    led.resize(set_->PageSize(skindocs::keys::kLed));
    const colorpicker::GTColorSliderWnd* bar =
        colorpicker::CreateColorBar(&led, set_->Record(skindocs::keys::kLed, skindocs::keys::kSliderRgb));
    ASSERT_NE(bar, nullptr);
    EXPECT_GE(bar->GradientRect().height(), kSmallestHueGradient);
}

INSTANTIATE_TEST_SUITE_P(Resolutions, GeneratedLayout, ::testing::Values("1920x1080", "1366x768", "960x540"));

}  // namespace
