// The LED page's imitation of the colour-cycle effect, shown on the LED buttons of the colour-cycle
// layer while it is edited: red, green and blue each ramp up and down between 0 and a white base,
// started one after the other so the colour walks around the hue circle. No Qt.
#pragma once

#include <array>
#include <cstdint>

namespace config {

class ColourCycleAnimation {
public:
    ColourCycleAnimation() { Reset(); }

    // Red at phase 254, green and blue at 0, none started, all outputs 0.
    void Reset();
    // One step of the ramp; returns the colour after it.
    std::uint32_t Step();
    // The current colour 0x00BBGGRR (red in the low byte).
    std::uint32_t Color() const;

private:
    enum class Direction { NotStarted, Rising, Falling };
    struct Channel {
        int phase = 0;
        Direction direction = Direction::NotStarted;
        int output = 0;
    };
    static void Start(Channel& channel);
    static void Advance(Channel& channel);

    std::array<Channel, 3> channels_;  // red, green, blue
};

}  // namespace config
