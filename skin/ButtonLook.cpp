#include "ButtonLook.h"

namespace skin {

ButtonLook CheckableButtonLook(const ButtonState& state) {
    if (state.disabled) return {StatePicture::Disabled, CaptionTone::Disabled};
    if (state.checked) return {StatePicture::Pressed, CaptionTone::Highlighted};
    if (state.hovering) return {StatePicture::Hover, CaptionTone::Highlighted};
    if (!state.pressed) return {StatePicture::Normal, CaptionTone::Normal};
    return {StatePicture::Pressed, CaptionTone::CheckedPressed};
}

ButtonLook PushButtonLook(const ButtonState& state) {
    if (state.checked || state.pressed) return {StatePicture::Pressed, CaptionTone::Highlighted};
    if (state.disabled) return {StatePicture::Disabled, CaptionTone::Disabled};
    if (state.hovering) return {StatePicture::Hover, CaptionTone::Highlighted};
    return {StatePicture::Normal, CaptionTone::Normal};
}

ButtonLook SecondTextButtonLook(const ButtonState& state) {
    if (state.pressed) return {StatePicture::Pressed, CaptionTone::Highlighted};
    if (state.checked) return {StatePicture::Pressed, CaptionTone::Normal};
    if (state.disabled) return {StatePicture::Disabled, CaptionTone::Disabled};
    if (state.hovering) return {StatePicture::Hover, CaptionTone::Highlighted};
    return {StatePicture::Normal, CaptionTone::Normal};
}

}  // namespace skin
