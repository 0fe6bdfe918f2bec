#include "ColorPickerFactories.h"

#include "PickerModes.h"
#include "PickerNotification.h"

namespace colorpicker {

GTColorSelectorWnd* CreateColorField(QWidget* parent, const QRect& rect) {
    if (parent == nullptr) {
        return nullptr;
    }
    auto* field = new GTColorSelectorWnd(parent, kColorFieldId);
    field->setGeometry(rect);
    field->show();
    return field;
}

GTColorSliderWnd* CreateColorBar(QWidget* parent, const QRect& rect) {
    if (parent == nullptr) {
        return nullptr;
    }
    auto* bar = new GTColorSliderWnd(parent, kColorBarId);
    bar->setGeometry(rect);
    bar->SetStyleWord(GTColorSliderWnd::kPageBarStyle);
    bar->SetPickerMode(kHueSaturationValueMode);
    bar->show();
    return bar;
}

GTColorWellWnd* CreateColorWell(QWidget* parent, const QRect& rect, GTColorSelectorWnd* field) {
    if (parent == nullptr) {
        return nullptr;
    }
    auto* well = new GTColorWellWnd(parent, kColorWellId, field);
    well->setGeometry(rect);
    well->show();
    return well;
}

}  // namespace colorpicker
