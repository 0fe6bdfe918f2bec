// The six operations of the device-access library that the controller links use, bound through the
// library's ordinal table. The program binds them from libtarnlink.so; tests may bind them from the
// static library. Either way every call of the links goes through this table.
#pragma once

#include "tarnlink/tarnlink.h"

#include <cstdint>
#include <optional>

namespace config {

struct TarnlinkApi {
    decltype(&TarnOpen) open = nullptr;                         // ordinal 2
    decltype(&TarnClose) close = nullptr;                       // ordinal 3
    decltype(&TarnSetFilter) setFilter = nullptr;               // ordinal 4
    decltype(&TarnSetReportCallback) setReportCallback = nullptr;  // ordinal 5
    decltype(&TarnWrite) write = nullptr;                       // ordinal 6
    decltype(&TarnGetVersion) getVersion = nullptr;             // ordinal 13
};

// The library's look-up of an operation by ordinal (TarnGetProcByOrdinal).
using TarnOrdinalLookup = void (*(*)(std::uint32_t))(void);

// Binds all six operations; empty when the look-up is null or any ordinal is missing.
std::optional<TarnlinkApi> BindTarnlinkByOrdinal(TarnOrdinalLookup lookup);

}  // namespace config
