// The application firmware's own command set: device information, status, mode, event configuration,
// profiles, effects, colours and output tables. Values are stored exactly as they arrive.
#include "Commands.h"

#include "firmware/Bytes.h"

#include <algorithm>

namespace simulator::detail {

namespace {

// Device information: one information record (the LED port), the effect list length, the block length.
constexpr std::uint8_t kInfoRecordCount = 1;
constexpr std::uint32_t kInfoWord = (std::uint32_t{kInfoRecordCount} << 24) | 0x0100;
constexpr std::size_t kInfoRecordBytes = 20;

std::span<const std::uint8_t> dataOf(const Report& command, std::size_t length) {
    return std::span<const std::uint8_t>(command).subspan(kDataAt, length);
}

template <typename Bytes>
void putData(Report& reply, const Bytes& bytes, std::size_t at = 0) {
    std::copy(bytes.begin(), bytes.end(), reply.begin() + static_cast<std::ptrdiff_t>(kDataAt + at));
}

template <typename Bytes>
void takeData(Bytes& bytes, const Report& command) {
    const auto data = dataOf(command, bytes.size());
    std::copy(data.begin(), data.end(), bytes.begin());
}

Outcome deviceInformation(ControllerState& state, const Report& command) {
    Report r = echoOf(command);
    switch (command[1]) {
    case 0x20:  // device information
        firmware::writeLe32(r, kDataAt, kInfoWord);
        firmware::writeLe16(r, kDataAt + 4, static_cast<std::uint16_t>(kEffectListBytes));
        r[kDataAt + 6] = static_cast<std::uint8_t>(kProfileBlockBytes);
        return reply(r);
    case 0x21: {  // information record n: the LED port
        if (indexOf(command) >= kInfoRecordCount) return refuse(command);
        const std::uint8_t port[kInfoRecordBytes] = {0, static_cast<std::uint8_t>(kLedCount), 6, 3};
        std::copy(std::begin(port), std::end(port), r.begin() + kDataAt);
        return reply(r);
    }
    case 0x63: {  // status
        const auto& version = state.targets.front().version();
        r[kDataAt + 0] = state.session.mode;
        r[kDataAt + 1] = state.live.current().colorMode;
        r[kDataAt + 2] = version.major;
        r[kDataAt + 3] = version.minor;
        r[kDataAt + 4] = state.live.currentProfile;
        r[kDataAt + 5] = state.live.current().activeEffect[0];
        return reply(r);
    }
    default:
        return refuse(command);
    }
}

Outcome eventConfiguration(ControllerState& state, const Report& command) {
    if (command[1] != 0x00) return refuse(command);
    state.session.eventWord = firmware::readLe32(command, kDataAt);
    state.session.eventByte = command[kDataAt + 4];
    state.session.eventsConfigured = true;
    return reply(echoOf(command));
}

Outcome storeOrReset(ControllerState& state, const Report& command) {
    switch (command[1]) {
    case 0x10:  // reset the current profile to the factory settings
        state.live.current() = defaultProfileLighting();
        return reply(echoOf(command));
    case 0x55: {  // store everything
        state.stored = state.live;
        Outcome outcome = reply(echoOf(command));
        outcome.settingsStored = true;
        return outcome;
    }
    default:
        return refuse(command);
    }
}

void storeEffectEntries(ProfileLighting& profile, std::size_t layer, const Report& command) {
    for (std::size_t e = 0; e < kEntriesPerCommand; ++e) {
        EffectEntry entry;
        std::copy_n(command.begin() + static_cast<std::ptrdiff_t>(kDataAt + e * kEffectEntryBytes),
                    kEffectEntryBytes, entry.begin());
        if (entry[kEntryCode] != kNoEffect) profile.effectParams[layer][entry[kEntryCode]] = entry;
    }
}

void replyEffectEntries(const ProfileLighting& profile, std::size_t layer, const Report& command, Report& r) {
    for (std::size_t e = 0; e < kEntriesPerCommand; ++e) {
        const std::uint8_t code = command[kDataAt + e * kEffectEntryBytes];
        EffectEntry entry;
        entry.fill(0xFF);
        if (code != kNoEffect) entry = profile.effectParams[layer][code];
        putData(r, entry, e * kEffectEntryBytes);
    }
}

Outcome writeSetting(ControllerState& state, const Report& command) {
    auto& settings = state.live;
    auto& profile = settings.current();
    const std::uint16_t index = indexOf(command);
    switch (command[1]) {
    case 0x00:  // select profile
        if (command[kDataAt] >= kProfileCount) return refuse(command);
        settings.currentProfile = command[kDataAt];
        break;
    case 0x01:  // profile block of profile `index`
        if (index >= kProfileCount) return refuse(command);
        takeData(settings.profiles[index].block, command);
        break;
    case 0x28:
        takeData(profile.activeEffect, command);
        break;
    case 0x29:
        takeData(profile.effectList, command);
        break;
    case 0x2C:
        if (index >= kLayerCount) return refuse(command);
        storeEffectEntries(profile, index, command);
        break;
    case 0x30:
        profile.colorMode = command[kDataAt];
        break;
    case 0xA0:
        if (index != 1) return refuse(command);
        takeData(profile.layerMap, command);
        break;
    case 0xA8:
        if (index >= kLedColorPages) return refuse(command);
        takeData(profile.ledColors[index], command);
        break;
    case 0x70:  // conversion table block; index 0xFFFF marks the end of a set of tables
        if (index == 0xFFFF) {
            state.session.conversionTablesComplete = true;
            break;
        }
        if ((index & 0xFF) >= kConversionBlocksPerTable) return refuse(command);
        takeData(settings.conversionTables[index], command);
        state.session.conversionTablesComplete = false;
        break;
    case 0x71:
        takeData(settings.pwmConfig, command);
        break;
    default:
        return refuse(command);
    }
    return reply(echoOf(command));
}

Outcome readSetting(const ControllerState& state, const Report& command) {
    const auto& settings = state.live;
    const auto& profile = settings.current();
    const std::uint16_t index = indexOf(command);
    Report r = echoOf(command);
    switch (command[1]) {
    case 0x00:
        r[kDataAt] = settings.currentProfile;
        break;
    case 0x01:
        if (index >= kProfileCount) return refuse(command);
        putData(r, settings.profiles[index].block);
        break;
    case 0x28:
        putData(r, profile.activeEffect);
        break;
    case 0x29:
        putData(r, profile.effectList);
        break;
    case 0x2C:
        if (index >= kLayerCount) return refuse(command);
        replyEffectEntries(profile, index, command, r);
        break;
    case 0x30:
        r[kDataAt] = profile.colorMode;
        break;
    case 0xA0:
        if (index != 1) return refuse(command);
        putData(r, profile.layerMap);
        break;
    case 0xA8:
        if (index >= kLedColorPages) return refuse(command);
        putData(r, profile.ledColors[index]);
        break;
    case 0x70: {
        const auto table = settings.conversionTables.find(index);
        if (table != settings.conversionTables.end()) putData(r, table->second);
        break;
    }
    case 0x71:
        putData(r, settings.pwmConfig);
        break;
    default:
        return refuse(command);
    }
    return reply(r);
}

}  // namespace

Outcome handleApplicationCommand(ControllerState& state, const Report& command) {
    switch (command[0]) {
    case 0x40: return deviceInformation(state, command);
    case 0x41:  // mode: the key is the mode
        if (indexOf(command) != 0) return refuse(command);
        state.session.mode = command[1];
        return reply(echoOf(command));
    case 0x42: return eventConfiguration(state, command);
    case 0x50: return storeOrReset(state, command);
    case 0x51: return writeSetting(state, command);
    case 0x52: return readSetting(state, command);
    default: return refuse(command);
    }
}

}  // namespace simulator::detail
