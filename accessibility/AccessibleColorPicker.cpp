#include "AccessibleColorPicker.h"

#include "AccessibleTexts.h"
#include "GTColorSelectorWnd.h"
#include "GTColorSliderWnd.h"
#include "GTColorWellWnd.h"
#include "PickerColor.h"
#include "PickerModes.h"

#include <QMetaObject>
#include <QPointer>

#include <algorithm>

namespace accessibility {

namespace {

QString ColorInWords(colorpicker::PickerColor color) {
    return accessibility::ColorInWords(colorpicker::RedOf(color), colorpicker::GreenOf(color),
                                       colorpicker::BlueOf(color));
}

}  // namespace

AccessibleHueBar::AccessibleHueBar(colorpicker::GTColorSliderWnd* bar) : AccessibleValueWidget(bar) {}

colorpicker::GTColorSliderWnd* AccessibleHueBar::Bar() const {
    return static_cast<colorpicker::GTColorSliderWnd*>(widget());
}

QString AccessibleHueBar::text(QAccessible::Text t) const {
    const colorpicker::GTColorSliderWnd* bar = Bar();
    switch (t) {
    case QAccessible::Name:
        return WidgetName(*bar, QStringLiteral("Hue"));
    case QAccessible::Description:
    case QAccessible::Value:
        // The page runs the bar in the hue mode; in another mode the value is said as a number.
        return bar->PickerMode() == colorpicker::kHueSaturationValueMode ? HueInWords(bar->Value())
                                                                         : QString::number(bar->Value());
    default:
        return AccessibleValueWidget::text(t);
    }
}

int AccessibleHueBar::Value() const { return Bar()->Value(); }

int AccessibleHueBar::Lowest() const { return std::min(Bar()->Minimum(), Bar()->Maximum()); }

int AccessibleHueBar::Highest() const { return std::max(Bar()->Minimum(), Bar()->Maximum()); }

void AccessibleHueBar::Ask(int value) {
    // Set from the event loop: the bar's notice reaches the page, which previews on the controller.
    QPointer<colorpicker::GTColorSliderWnd> bar = Bar();
    QMetaObject::invokeMethod(
        bar, [bar, value] { if (bar) bar->SetValueByUser(value); }, Qt::QueuedConnection);
}

AccessibleColorField::AccessibleColorField(colorpicker::GTColorSelectorWnd* field)
    : QAccessibleWidget(field, QAccessible::ColorChooser) {}

colorpicker::GTColorSelectorWnd* AccessibleColorField::Field() const {
    return static_cast<colorpicker::GTColorSelectorWnd*>(widget());
}

QAccessible::State AccessibleColorField::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.focusable = true;  // a click focuses the field
    return state;
}

QString AccessibleColorField::text(QAccessible::Text t) const {
    const colorpicker::GTColorSelectorWnd* field = Field();
    switch (t) {
    case QAccessible::Name:
        return WidgetName(*field, QStringLiteral("Saturation and brightness"));
    case QAccessible::Description:
    case QAccessible::Value: {
        const QString color = ColorInWords(field->Color());
        if (field->PickerMode() != colorpicker::kHueSaturationValueMode || field->XMaximum() <= 0 || field->YMaximum() <= 0) {
            return color;
        }
        const colorpicker::PickerComponents point = field->Components();
        return SaturationValueInWords(point.x * 1000 / field->XMaximum(), point.y * 1000 / field->YMaximum()) +
               QStringLiteral("; ") + color;
    }
    default:
        return QAccessibleWidget::text(t);
    }
}

AccessibleColorWell::AccessibleColorWell(colorpicker::GTColorWellWnd* well)
    : QAccessibleWidget(well, QAccessible::StaticText) {}

colorpicker::GTColorWellWnd* AccessibleColorWell::Well() const {
    return static_cast<colorpicker::GTColorWellWnd*>(widget());
}

QString AccessibleColorWell::text(QAccessible::Text t) const {
    switch (t) {
    case QAccessible::Name:
        return WidgetName(*Well(), QStringLiteral("Colour"));
    case QAccessible::Description:
    case QAccessible::Value:
        return ColorInWords(Well()->Color());
    default:
        return QAccessibleWidget::text(t);
    }
}

}  // namespace accessibility
