// The state file: the stored settings and every target's flash, so that settings and firmware updates
// survive a restart. The format is described in simulator/README.md.
#pragma once

#include "simulator/Lighting.h"
#include "simulator/Target.h"

#include "firmware/ControllerRecords.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace simulator {

struct SavedFlash {
    firmware::Record fwInfo{};          // geometry and identity of the target that wrote it
    std::vector<std::uint8_t> bytes;
};

struct SavedState {
    ControllerSettings settings;
    std::vector<SavedFlash> flashes;    // by target index
};

std::vector<std::uint8_t> encodeState(const ControllerSettings& settings, const std::vector<Target>& targets);
// Empty for anything that is not a complete state of this format.
std::optional<SavedState> decodeState(std::span<const std::uint8_t> bytes);

// Writes the file atomically (a temporary file beside it, flushed, then renamed). Empty on success,
// otherwise what went wrong.
std::optional<std::string> saveStateFile(const std::string& path, const ControllerSettings& settings,
                                         const std::vector<Target>& targets);

enum class LoadStatus { Missing, Loaded, Unreadable };
struct LoadResult {
    LoadStatus status = LoadStatus::Missing;
    std::optional<SavedState> state;
    std::string message;
};
// An unreadable file is moved aside to <path>.bad, so it is kept for inspection and not overwritten.
LoadResult loadStateFile(const std::string& path);

// Claims the state file at `path` for one controller: an exclusive lock on <path>.lock, held while the
// returned descriptor is open. -1 when another controller holds it (two runs at once would write over
// each other's state); the descriptor, or -2 when no lock file can be made here (the folder cannot be
// written, so saving fails and says so anyway).
int claimStateFile(const std::string& path);

// Puts saved flash contents into the targets whose configuration still matches; the others get their
// factory contents. Returns the indexes of the targets that started fresh.
std::vector<std::size_t> restoreFlash(std::vector<Target>& targets, const std::vector<SavedFlash>& saved);

}  // namespace simulator
