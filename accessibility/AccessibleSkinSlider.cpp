#include "AccessibleSkinSlider.h"

#include "AccessibleTexts.h"
#include "PngHSliderBar.h"

#include <algorithm>
#include <cmath>

namespace accessibility {

AccessibleSkinSlider::AccessibleSkinSlider(skin::CPngHSliderBar* slider)
    : QAccessibleWidget(slider, QAccessible::Slider) {}

skin::CPngHSliderBar* AccessibleSkinSlider::Slider() const { return static_cast<skin::CPngHSliderBar*>(widget()); }

void* AccessibleSkinSlider::interface_cast(QAccessible::InterfaceType t) {
    if (t == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
}

QAccessible::State AccessibleSkinSlider::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    // A click focuses the slider.
    state.focusable = true;
    return state;
}

QString AccessibleSkinSlider::text(QAccessible::Text t) const {
    switch (t) {
    case QAccessible::Name:
        return WidgetName(*Slider(), SkinKeyOf(*Slider()));
    case QAccessible::Value:
        return QString::number(Slider()->Position());
    default:
        return QAccessibleWidget::text(t);
    }
}

QVariant AccessibleSkinSlider::currentValue() const { return Slider()->Position(); }

void AccessibleSkinSlider::setCurrentValue(const QVariant& value) {
    bool ok = false;
    const double asked = value.toDouble(&ok);
    if (!ok || !std::isfinite(asked) || !Slider()->isEnabled()) return;
    // Clamped before rounding, so that no value the client sends can overflow the integer.
    const double lowest = Slider()->Minimum();
    const double highest = std::max(lowest, static_cast<double>(Slider()->Maximum()));
    Slider()->RequestValue(static_cast<int>(std::lround(std::clamp(asked, lowest, highest))));
}

QVariant AccessibleSkinSlider::maximumValue() const { return Slider()->Maximum(); }

QVariant AccessibleSkinSlider::minimumValue() const { return Slider()->Minimum(); }

QVariant AccessibleSkinSlider::minimumStepSize() const { return 1; }

QStringList AccessibleSkinSlider::actionNames() const {
    QStringList names;
    if (Slider()->isEnabled()) names << increaseAction() << decreaseAction();
    return names + QAccessibleWidget::actionNames();
}

void AccessibleSkinSlider::doAction(const QString& actionName) {
    if (actionName == increaseAction()) {
        setCurrentValue(Slider()->Position() + 1);
    } else if (actionName == decreaseAction()) {
        setCurrentValue(Slider()->Position() - 1);
    } else {
        QAccessibleWidget::doAction(actionName);
    }
}

}  // namespace accessibility
