#include "BtnMenu.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The LED page's use: seven lighting functions, read back by position.
class SevenItemMenu : public ::testing::Test {
protected:
    void SetUp() override {
        for (int i = 0; i < 7; ++i) {
            menu.AddItem(u"Function " + std::u16string(1, static_cast<char16_t>(u'1' + i)), 0x1000 + i, 0, 1, true);
        }
    }
    skin::CBtnMenu menu;
};

TEST_F(SevenItemMenu, ItemsComeBackByPositionAndNoneOutsideTheList) {
    ASSERT_EQ(menu.ItemCount(), 7);
    const skin::MenuItem* last = menu.ItemAt(6);
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(last->identifier, 0x1006);
    EXPECT_EQ(last->caption, u"Function 7");
    EXPECT_EQ(last->firstValue, 0);
    EXPECT_EQ(last->secondValue, 1);
    EXPECT_EQ(last->selectable, 1);
    EXPECT_EQ(last->subMenu, 0);
    EXPECT_EQ(last->reserved, -1);
    EXPECT_EQ(menu.ItemAt(0)->identifier, 0x1000);
    EXPECT_EQ(menu.ItemAt(7), nullptr);
    EXPECT_EQ(menu.ItemAt(-1), nullptr);
}

TEST_F(SevenItemMenu, RefreshWithoutWindowKeepsTheListAndScrollsToTheStart) {
    menu.RefreshItems(-1);
    EXPECT_EQ(menu.ScrollOffset(), 0);
    menu.RefreshItems(5);
    EXPECT_EQ(menu.ScrollOffset(), 0);
    ASSERT_EQ(menu.ItemCount(), 7);
    for (int i = 0; i < 7; ++i) EXPECT_EQ(menu.ItemAt(i)->identifier, 0x1000 + i);
}

TEST(BtnMenu, CaptionEndsAtItsTerminatorAndIsCutTo259Units) {
    skin::CBtnMenu menu;
    menu.AddItem(std::u16string(300, u'x'), 1, 0, 0, false);
    menu.AddItem(std::u16string(u"Sta\0rs", 6), 2, 0, 0, true);
    EXPECT_EQ(menu.ItemAt(0)->caption, std::u16string(259, u'x'));
    EXPECT_EQ(menu.ItemAt(0)->selectable, 0);
    EXPECT_EQ(menu.ItemAt(1)->caption, u"Sta");
}

}  // namespace
