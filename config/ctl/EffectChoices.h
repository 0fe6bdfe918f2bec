// The seven effects of the LED page's effect list as halcyractl names them, which settings each one has,
// and the changes the commands "effect" and "led" make to a profile's lighting.
#pragma once

#include "EffectLayer.h"
#include "ProfileRecord.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ctl {

struct EffectDescription {
    std::string_view name;      // the function's name, e.g. "STAR_EFFECT"
    std::string_view caption;   // its English caption, e.g. "Stars"
    std::size_t listIndex;      // its place in the effect list (SELECT_EFFECT)
    std::optional<config::ColorField> color;  // in BASE_LAYER
    bool colorPerLed;           // --color sets the colours of all four LEDs (CUSTOMIZE)
    std::optional<config::ByteField> speed;
    std::optional<config::ByteField> brightness;
};

// The effect called `name`: its function name or its caption, upper or lower case, with blanks, '-'
// and '_' alike ("star_effect", "Stars", "colour-cycle"); nullptr for an unknown name.
const EffectDescription* FindEffect(std::string_view name);
// The effect at a place of the effect list; nullptr outside it.
const EffectDescription* EffectAt(std::size_t listIndex);
// The effect a mistyped name most likely means (NearestWord over the names and captions, upper and
// lower case, blanks, '-' and '_' alike); nullptr when none is near enough.
const EffectDescription* NearestEffect(std::string_view name);
// The effect's caption as a person types it on a command line: quoted when it holds a blank.
std::string QuotedCaption(const EffectDescription& effect);
// The effects for a message as people see them: "Static, "Per LED", Stars, ...".
std::string EffectNames();

inline constexpr int kMaxSpeed = 4;
inline constexpr int kMaxBrightness = 2;
inline constexpr int kLedCount = 4;

struct EffectChoice {
    const EffectDescription* effect = nullptr;
    std::optional<std::uint32_t> color;  // 0x00BBGGRR
    std::optional<int> speed;            // 0-4, 0 fastest
    std::optional<int> brightness;       // 0-2, 2 brightest
};

// What is wrong with the choice ("" when nothing): an option the effect does not have.
std::string CheckEffectChoice(const EffectChoice& choice);

// Selects the effect, makes sure the controller's button list holds it (so it is the one that shows)
// and sets the options given.
void ApplyEffectChoice(config::LightingSection& lighting, const EffectChoice& choice);
// Colours LED `led` (1-4) in CUSTOMIZE and selects CUSTOMIZE.
void SetLedColor(config::LightingSection& lighting, int led, std::uint32_t color);

// "RRGGBB" (an optional '#' first) as a colour 0x00BBGGRR; nothing for any other text.
std::optional<std::uint32_t> ParseColor(std::string_view text);
// A colour 0x00BBGGRR as "RRGGBB".
std::string ColorText(std::uint32_t color);

}  // namespace ctl
