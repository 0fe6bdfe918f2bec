// What the LED page implements to hear the colour the picker's well shows.
#pragma once

#include "PickerColor.h"

namespace colorpicker {

class PickedColorHandler {
public:
    virtual ~PickedColorHandler() = default;

    // Called once for every change of the picked colour (field or bar), with the colour 0x00BBGGRR.
    virtual void OnColorPicked(PickerColor color) = 0;
};

}  // namespace colorpicker
