// How an EffectLayer turns into the effect-parameter data the controller's effect commands carry,
// and how an entry read back goes into a layer. Entries hold levels (speed 0-4, brightness 0-2); the
// link converts them to the controller's raw values.
#pragma once

#include "EffectLayer.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace config {

inline constexpr std::size_t kEffectEntryBytes = 12;
inline constexpr std::size_t kEffectEntriesBytes = 60;  // five entries: the data of one command
using EffectEntries = std::array<std::uint8_t, kEffectEntriesBytes>;

// The five-entry data for one effect: entry 0 filled from the layer for `code` (speed `initialSpeed`,
// flags 0, bytes 3-5 0xFF, colours 0, then the fields that the code uses), entries 1-4 all 0xFF.
EffectEntries BuildEffectEntries(std::uint8_t code, const EffectLayer& layer, std::uint8_t initialSpeed = 0);

// A request for one effect: entry 0 holds the code, everything else is 0xFF.
EffectEntries EffectRequest(std::uint8_t code);

// Stores entry 0 of a reply into the layer, by its code: sets the effect's enabled byte and takes the
// colours, speed and brightness that the code carries.
void StoreEffectEntry(std::span<const std::uint8_t, kEffectEntriesBytes> entries, EffectLayer& layer);

// The enabled byte of an effect code (codes 0-10), or nullopt for codes without one in the layer.
std::optional<ByteField> EnabledFieldOf(std::uint8_t code);

// A colour of three bytes red, green, blue as 0x00BBGGRR.
std::uint32_t ColorFromBytes(const std::uint8_t* rgb);

}  // namespace config
