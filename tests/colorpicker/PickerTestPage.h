// A stand-in for the LED page in the picker's widget tests: it holds the three linked windows in
// mode 3, hears the well's colours and records the notifications the field sends it.
#pragma once

#include "ColorPickerFactories.h"
#include "PickedColorHandler.h"
#include "PickerNotification.h"

#include <QWidget>

#include <cstdint>
#include <vector>

namespace colorpicker {

class PickerTestPage : public QWidget, public PickedColorHandler {
public:
    struct Notice {
        std::uintptr_t controlId;
        int value;
    };

    PickerTestPage() {
        resize(330, 290);
        field = CreateColorField(this, QRect(16, 16, 206, 206));  // plane 19..219 by 19..219 in the page
        bar = CreateColorBar(this, QRect(16, 240, 206, 30));
        well = CreateColorWell(this, QRect(240, 16, 72, 72), field);
        field->SetPickerMode(kHueSaturationValueMode);
        field->LinkBar(bar);
        field->LinkWell(well);
        bar->LinkField(field);
        well->SetColorHandler(this);
    }

    void OnColorPicked(PickerColor color) override { picked.push_back(color); }

    bool event(QEvent* event) override {
        if (const PickerNotification* notification = AsPickerNotification(event)) {
            notices.push_back({static_cast<std::uintptr_t>(notification->senderId), notification->value});
            return true;
        }
        return QWidget::event(event);
    }

    GTColorSelectorWnd* field = nullptr;
    GTColorSliderWnd* bar = nullptr;
    GTColorWellWnd* well = nullptr;
    std::vector<PickerColor> picked;
    std::vector<Notice> notices;
};

}  // namespace colorpicker
