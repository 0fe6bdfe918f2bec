// Which state picture and caption colour an image button shows, for each kind of button. Kept apart
// from the widgets so the rules read (and are tested) as plain tables.
#pragma once

namespace skin {

enum class StatePicture { Normal, Hover, Pressed, Disabled };
enum class CaptionTone { Normal, Highlighted, Disabled, CheckedPressed };

struct ButtonState {
    bool checked = false;
    bool hovering = false;
    bool pressed = false;  // the left button is held on it
    bool disabled = false;
};

struct ButtonLook {
    StatePicture picture = StatePicture::Normal;
    CaptionTone tone = CaptionTone::Normal;
    bool operator==(const ButtonLook&) const = default;
};

// A check button: disabled wins, then checked, hovering, idle; held down it shows pressed.
ButtonLook CheckableButtonLook(const ButtonState& state);
// A push button (also the colour button): checked or pressed, then disabled, hovering, idle. A disabled
// button never shows its hover look, whatever the pointer does.
ButtonLook PushButtonLook(const ButtonState& state);
// The button with a second text: pressed, then checked (pressed picture, normal colour), disabled,
// hovering, idle.
ButtonLook SecondTextButtonLook(const ButtonState& state);

}  // namespace skin
