#include "AccessibleSkinSlider.h"

#include "AccessibleTexts.h"
#include "PngHSliderBar.h"

namespace accessibility {

AccessibleSkinSlider::AccessibleSkinSlider(skin::CPngHSliderBar* slider) : AccessibleValueWidget(slider) {}

skin::CPngHSliderBar* AccessibleSkinSlider::Slider() const { return static_cast<skin::CPngHSliderBar*>(widget()); }

QString AccessibleSkinSlider::text(QAccessible::Text t) const {
    switch (t) {
    case QAccessible::Name:
        return WidgetName(*Slider(), SkinKeyOf(*Slider()));
    case QAccessible::Value:
        return QString::number(Slider()->Position());
    default:
        return AccessibleValueWidget::text(t);
    }
}

int AccessibleSkinSlider::Value() const { return Slider()->Position(); }

int AccessibleSkinSlider::Lowest() const { return Slider()->Minimum(); }

int AccessibleSkinSlider::Highest() const { return Slider()->Maximum(); }

void AccessibleSkinSlider::Ask(int value) { Slider()->RequestValue(value); }

}  // namespace accessibility
