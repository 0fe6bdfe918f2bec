#include "ColourCycleAnimation.h"

namespace config {

namespace {
constexpr int kBase = 255;  // each channel of the white base colour
constexpr int kTop = 255;
constexpr int kStartNextAt = 128;
constexpr int kRedStartPhase = 254;
}  // namespace

void ColourCycleAnimation::Reset() {
    channels_ = {};
    channels_[0].phase = kRedStartPhase;
}

void ColourCycleAnimation::Start(Channel& channel) {
    if (channel.direction == Direction::NotStarted) channel.direction = Direction::Rising;
}

void ColourCycleAnimation::Advance(Channel& channel) {
    if (channel.direction == Direction::NotStarted) return;
    channel.output = kBase * channel.phase / kTop;
    if (channel.direction == Direction::Rising) {
        if (++channel.phase >= kTop) {
            channel.phase = kTop;
            channel.output = kBase;
            channel.direction = Direction::Falling;
        }
    } else if (--channel.phase <= 0) {
        channel.phase = 0;
        channel.output = 0;
        channel.direction = Direction::Rising;
    }
}

std::uint32_t ColourCycleAnimation::Step() {
    Channel& red = channels_[0];
    Channel& green = channels_[1];
    Channel& blue = channels_[2];
    Start(red);
    if (red.phase >= kStartNextAt) Start(green);
    if (green.direction != Direction::NotStarted && green.phase >= kStartNextAt) Start(blue);
    for (Channel& channel : channels_) Advance(channel);
    return Color();
}

std::uint32_t ColourCycleAnimation::Color() const {
    return static_cast<std::uint32_t>(channels_[0].output) | static_cast<std::uint32_t>(channels_[1].output) << 8 |
           static_cast<std::uint32_t>(channels_[2].output) << 16;
}

}  // namespace config
