// The skinned widgets as assistive technology sees them through Qt's accessibility interfaces, on the
// offscreen platform: names, roles, states, values and the actions that press and move them.
#include "AccessibleFactory.h"
#include "BitmapBtn.h"
#include "ColorBtn.h"
#include "GTColorSelectorWnd.h"
#include "GTColorSliderWnd.h"
#include "PickerModes.h"
#include "PngHSliderBar.h"
#include "SkinDocuments.h"
#include "SkinFactory.h"
#include "WindowMessage.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAccessibleValueInterface>
#include <QApplication>
#include <QDialog>
#include <QWidget>

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace {

constexpr int kSliderId = 1000;

// The page's part: it records what its widgets tell it.
class RecordingPage : public QWidget {
public:
    std::vector<int> commands;
    std::vector<int> sliderValues;
    std::vector<std::intptr_t> sliderIds;

    void Watch(skin::CBitmapBtn& button) {
        connect(&button, &skin::CBitmapBtn::command, this, [this](int code, skin::CBitmapBtn*) { commands.push_back(code); });
    }

protected:
    bool event(QEvent* event) override {
        if (auto* message = platform::AsWindowMessage(event)) {
            if (message->Message() == skin::kSliderValueMessage) {
                sliderValues.push_back(static_cast<int>(message->WParam()));
                sliderIds.push_back(message->LParam());
                return true;
            }
        }
        return QWidget::event(event);
    }
};

class AccessibleSkinWidgetsTest : public ::testing::Test {
protected:
    void SetUp() override {
        accessibility::InstallAccessibleFactory();
        skindocs::StringDocument().SetText(
            u"<STRINGS><ACCESSIBLE><BUTTON_MIN>Minimise</BUTTON_MIN><SLIDER_R>Red</SLIDER_R>"
            u"<EDIT_R>Red value</EDIT_R></ACCESSIBLE></STRINGS>");
        skindocs::StringDocument().Rewind();
        page_.resize(400, 200);
    }
    void TearDown() override { skindocs::ResetSkinDocuments(); }

    static QAccessibleInterface* Interface(QObject* object) { return QAccessible::queryAccessibleInterface(object); }

    static void Act(QAccessibleInterface* iface, const QString& action) {
        ASSERT_NE(iface->actionInterface(), nullptr);
        ASSERT_TRUE(iface->actionInterface()->actionNames().contains(action))
            << iface->actionInterface()->actionNames().join(u',').toStdString();
        iface->actionInterface()->doAction(action);
        QApplication::processEvents();
    }

    RecordingPage page_;
};

TEST_F(AccessibleSkinWidgetsTest, ButtonsAreNamedByCaptionOrByTheirKeysAccessibleText) {
    struct Case {
        const char* what;
        const char16_t* key;
        QString caption;
        QString pageName;
        QString name;
        QString description;
    };
    const Case cases[] = {
        {"caption", u"BUTTON_APPLY", QStringLiteral("Apply"), {}, QStringLiteral("Apply"), {}},
        {"caption on two lines", u"BUTTON_X", QStringLiteral("Colour\\r\\ncycle"), {}, QStringLiteral("Colour cycle"), {}},
        {"picture only", u"BUTTON_MIN", {}, {}, QStringLiteral("Minimise"), {}},
        {"number shown, named by key", u"EDIT_R", QStringLiteral("200"), {}, QStringLiteral("Red value"),
         QStringLiteral("200")},
        {"named by its page", u"BUTTON_MIN", {}, QStringLiteral("OK"), QStringLiteral("OK"), {}},
    };
    for (const Case& c : cases) {
        skin::CBitmapBtn button(&page_);
        skin::MarkSkinKey(button, u"MAIN", c.key);
        button.SetCaption(c.caption);
        if (!c.pageName.isEmpty()) button.setAccessibleName(c.pageName);
        QAccessibleInterface* iface = Interface(&button);
        ASSERT_NE(iface, nullptr) << c.what;
        EXPECT_EQ(iface->text(QAccessible::Name), c.name) << c.what;
        EXPECT_EQ(iface->text(QAccessible::Description), c.description) << c.what;
        EXPECT_EQ(iface->role(), QAccessible::PushButton) << c.what;
    }
}

TEST_F(AccessibleSkinWidgetsTest, PressingAPlainButtonClicksItOnceAndADisabledOneNotAtAll) {
    skin::CBitmapBtn button(&page_);
    page_.Watch(button);
    QAccessibleInterface* iface = Interface(&button);
    EXPECT_TRUE(iface->actionInterface()->keyBindingsForAction(QAccessibleActionInterface::pressAction()).isEmpty());
    Act(iface, QAccessibleActionInterface::pressAction());
    EXPECT_EQ(page_.commands, std::vector<int>{skin::CBitmapBtn::kClickCode});

    button.setEnabled(false);
    EXPECT_FALSE(iface->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
    iface->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QApplication::processEvents();
    EXPECT_EQ(page_.commands.size(), 1u);
    EXPECT_TRUE(iface->state().disabled);
}

// A modal pop-up keeps the mouse from the windows behind it; a client pressing or moving their widgets
// through the accessibility interfaces must not get past it either (Apply while the loading pop-up
// reads the controller would write a half-read working copy).
TEST_F(AccessibleSkinWidgetsTest, WhileAPopUpIsOpenOnlyItsOwnWidgetsArePressedOrMoved) {
    skin::CBitmapBtn behind(&page_);
    page_.Watch(behind);
    skin::CPngHSliderBar slider;
    slider.CreateSlider(&page_, kSliderId, QRect(10, 10, 200, 20));
    slider.SetRange(0, 255);
    page_.show();

    QDialog popUp;
    popUp.setWindowModality(Qt::ApplicationModal);
    skin::CBitmapBtn inside(&popUp);
    page_.Watch(inside);
    popUp.show();
    ASSERT_EQ(QApplication::activeModalWidget(), &popUp);

    QAccessibleInterface* behindIface = Interface(&behind);
    EXPECT_FALSE(behindIface->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
    behindIface->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    Interface(&slider)->valueInterface()->setCurrentValue(100);
    QApplication::processEvents();
    EXPECT_TRUE(page_.commands.empty());
    EXPECT_TRUE(page_.sliderValues.empty());

    Act(Interface(&inside), QAccessibleActionInterface::pressAction());
    EXPECT_EQ(page_.commands, std::vector<int>{skin::CBitmapBtn::kClickCode});

    // A press asked for before the pop-up opened, carried out once it is open, is dropped as well.
    popUp.hide();
    page_.commands.clear();
    Act(Interface(&behind), QAccessibleActionInterface::pressAction());
    EXPECT_EQ(page_.commands, std::vector<int>{skin::CBitmapBtn::kClickCode});
    page_.commands.clear();
    behindIface->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    popUp.show();
    QApplication::processEvents();
    EXPECT_TRUE(page_.commands.empty());
}

TEST_F(AccessibleSkinWidgetsTest, ACheckButtonIsARadioButtonWhosePressTogglesLikeAClick) {
    skin::CBitmapBtn button(&page_);
    button.SetCaption(QStringLiteral("Per LED"));
    button.SetCheckable(true);
    page_.Watch(button);
    QAccessibleInterface* iface = Interface(&button);
    EXPECT_EQ(iface->role(), QAccessible::RadioButton);
    EXPECT_TRUE(iface->state().checkable);
    EXPECT_FALSE(iface->state().checked);

    Act(iface, QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(button.IsChecked());
    EXPECT_TRUE(iface->state().checked);
    Act(iface, QAccessibleActionInterface::pressAction());
    EXPECT_FALSE(button.IsChecked());
    // The toggle notification twice, never a plain click, as with the mouse.
    EXPECT_EQ(page_.commands, (std::vector<int>{skin::CBitmapBtn::kCheckedCode, skin::CBitmapBtn::kCheckedCode}));

    button.SetChecked(true);  // the page checks it
    EXPECT_TRUE(iface->state().checked);
}

TEST_F(AccessibleSkinWidgetsTest, AColourButtonSaysItsColour) {
    skin::CColorBtn button(&page_);
    button.SetColor(200, 0, 16);
    EXPECT_EQ(Interface(&button)->text(QAccessible::Description), QStringLiteral("red 200, green 0, blue 16"));
}

TEST_F(AccessibleSkinWidgetsTest, ASliderShowsItsRangeAndAsksThePageForAValueSetThroughIt) {
    skin::CPngHSliderBar slider;
    slider.CreateSlider(&page_, kSliderId, QRect(10, 10, 200, 20));
    slider.SetRange(0, 255);
    slider.SetPosition(17);
    skin::MarkSkinKey(slider, u"LED", u"SLIDER_R");
    QAccessibleInterface* iface = Interface(&slider);
    ASSERT_NE(iface, nullptr);
    EXPECT_EQ(iface->role(), QAccessible::Slider);
    EXPECT_EQ(iface->text(QAccessible::Name), QStringLiteral("Red"));
    EXPECT_TRUE(iface->state().focusable);
    QAccessibleValueInterface* value = iface->valueInterface();
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->minimumValue().toInt(), 0);
    EXPECT_EQ(value->maximumValue().toInt(), 255);
    EXPECT_EQ(value->currentValue().toInt(), 17);

    // Each asked value reaches the page, clamped into the range, with the slider's id; the thumb does
    // not move by itself.
    struct Case {
        double asked;
        int posted;
    };
    const Case cases[] = {{200.4, 200}, {300, 255}, {-5, 0}, {1e300, 255}, {-std::numeric_limits<double>::infinity(), -1}};
    for (const Case& c : cases) {
        page_.sliderValues.clear();
        value->setCurrentValue(c.asked);
        QApplication::processEvents();
        if (c.posted < 0) {
            EXPECT_TRUE(page_.sliderValues.empty()) << c.asked;
        } else {
            EXPECT_EQ(page_.sliderValues, std::vector<int>{c.posted}) << c.asked;
            EXPECT_EQ(page_.sliderIds.back(), kSliderId);
        }
    }
    EXPECT_EQ(slider.Position(), 17);

    page_.sliderValues.clear();
    Act(iface, QAccessibleActionInterface::increaseAction());
    EXPECT_EQ(page_.sliderValues, std::vector<int>{18});

    page_.show();
    QApplication::setActiveWindow(&page_);
    EXPECT_FALSE(iface->state().focused);
    Act(iface, QAccessibleActionInterface::setFocusAction());
    EXPECT_TRUE(iface->state().focused);

    slider.setEnabled(false);
    page_.sliderValues.clear();
    value->setCurrentValue(100);
    QApplication::processEvents();
    EXPECT_TRUE(page_.sliderValues.empty());
}

TEST_F(AccessibleSkinWidgetsTest, TheHueBarIsASliderThatSaysItsHueAndTheFieldItsPointAndColour) {
    colorpicker::GTColorSelectorWnd field(&page_, 2000);
    colorpicker::GTColorSliderWnd bar(&page_, 2001);
    bar.setGeometry(0, 100, 300, 24);
    bar.SetStyleWord(colorpicker::GTColorSliderWnd::kPageBarStyle);
    bar.SetPickerMode(colorpicker::kHueSaturationValueMode);
    field.setGeometry(0, 0, 100, 100);
    field.SetPickerMode(colorpicker::kHueSaturationValueMode);
    field.LinkBar(&bar);
    bar.LinkField(&field);
    field.SetColor(colorpicker::MakeColor(255, 0, 0));

    QAccessibleInterface* hue = Interface(&bar);
    ASSERT_NE(hue, nullptr);
    EXPECT_EQ(hue->role(), QAccessible::Slider);
    ASSERT_NE(hue->valueInterface(), nullptr);
    EXPECT_EQ(hue->valueInterface()->maximumValue().toInt(), 3599);
    EXPECT_EQ(hue->text(QAccessible::Description), QStringLiteral("0 degrees, red"));

    hue->valueInterface()->setCurrentValue(1200);
    QApplication::processEvents();
    EXPECT_EQ(bar.Value(), 1200);
    EXPECT_EQ(hue->text(QAccessible::Description), QStringLiteral("120 degrees, green"));
    // The bar told the field, which now shows full green.
    QAccessibleInterface* plane = Interface(&field);
    ASSERT_NE(plane, nullptr);
    EXPECT_EQ(plane->role(), QAccessible::ColorChooser);
    EXPECT_EQ(plane->text(QAccessible::Description),
              QStringLiteral("saturation 100 percent, brightness 100 percent; red 0, green 255, blue 0"));
}

}  // namespace
