#include "TarnlinkApi.h"

namespace config {

namespace {

// Looks the ordinal up and casts it to the operation's type; false when the library lacks it.
template <typename Operation>
bool Bind(TarnOrdinalLookup lookup, std::uint32_t ordinal, Operation& operation) {
    operation = reinterpret_cast<Operation>(lookup(ordinal));
    return operation != nullptr;
}

}  // namespace

std::optional<TarnlinkApi> BindTarnlinkByOrdinal(TarnOrdinalLookup lookup) {
    if (lookup == nullptr) {
        return std::nullopt;
    }
    TarnlinkApi api;
    const bool complete = Bind(lookup, 2, api.open) && Bind(lookup, 3, api.close) &&
                          Bind(lookup, 4, api.setFilter) && Bind(lookup, 5, api.setReportCallback) &&
                          Bind(lookup, 6, api.write) && Bind(lookup, 13, api.getVersion);
    if (!complete) {
        return std::nullopt;
    }
    return api;
}

}  // namespace config
