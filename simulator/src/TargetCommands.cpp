// Target selection, records and flashing. The boot loader answers all of them for any target; the
// application firmware answers the target and record queries, and flashes only a unit behind the
// controller that runs its own boot loader.
#include "Commands.h"

#include "firmware/Bytes.h"
#include "firmware/Checksum.h"

#include <algorithm>

namespace simulator::detail {

namespace {

constexpr std::uint8_t kApInfoIndexMarker = 4;
constexpr std::uint8_t kRecordKeyBase = 0x20;
constexpr std::size_t kMaxWriteBytes = kDataBytes;

Target& selected(ControllerState& state) { return state.targets[state.session.selectedTarget]; }

Outcome targets(ControllerState& state, const Report& command) {
    Report r = echoOf(command);
    switch (command[1]) {
    case 0x00:
        firmware::writeLe32(r, kDataAt, state.session.selectedTarget);
        return reply(r);
    case 0x01: {
        const std::uint32_t index = firmware::readLe32(command, kDataAt);
        if (index >= state.targets.size()) return refuse(command);
        state.session.selectedTarget = index;
        firmware::writeLe32(r, kDataAt, index);
        return reply(r);
    }
    case 0x02:
        firmware::writeLe32(r, kDataAt, static_cast<std::uint32_t>(state.targets.size()));
        return reply(r);
    default:
        return refuse(command);
    }
}

// Enter and leave are never answered: the device restarts (the controller) or the unit switches.
Outcome bootLoaderSwitch(ControllerState& state, const Report& command) {
    const bool enter = command[1] == 0x00;
    if (command[1] > 0x01) return refuse(command);
    Outcome outcome;
    if (state.session.selectedTarget > 0) {
        Target& unit = selected(state);
        unit.unitInBootLoader = enter || unit.imageState() != firmware::ImageState::Valid;
        return outcome;
    }
    if (enter && state.firmware == Firmware::Application) outcome.action = BusAction::EnterBootLoader;
    if (!enter && state.firmware == Firmware::BootLoader) outcome.action = BusAction::LeaveBootLoader;
    return outcome;
}

Outcome records(ControllerState& state, const Report& command) {
    const Target& target = selected(state);
    Report r = echoOf(command);
    if (command[1] == 0x00) {
        const auto record = target.fwInfoRecord();
        std::copy(record.begin(), record.end(), r.begin() + kDataAt);
        return reply(r);
    }
    if (command[1] == 0x01) {
        r[kDataAt] = kApInfoIndexMarker;
        firmware::writeLe16(r, kDataAt + 2, target.config.apInfoRecord);
        return reply(r);
    }
    if (command[1] < kRecordKeyBase) return refuse(command);
    const auto record = target.recordPage(command[1] - kRecordKeyBase);
    if (!record) return refuse(command);
    std::copy(record->begin(), record->end(), r.begin() + kDataAt);
    return reply(r);
}

Outcome eraseOrChecksum(Target& target, const Report& command) {
    const std::uint32_t start = firmware::readLe32(command, kDataAt);
    const std::uint32_t length = firmware::readLe32(command, kDataAt + 4);
    if (!target.flash.contains(start, length)) return refuse(command);
    Report r = echoOf(command);
    switch (command[1]) {
    case 0x00: {
        target.flash.erase(start, length);
        Outcome outcome = reply(r);
        outcome.flashChanged = true;
        return outcome;
    }
    case 0x01:
        firmware::writeLe32(r, kDataAt, firmware::wordSum(target.flash.region(start, length)));
        return reply(r);
    default:
        return refuse(command);
    }
}

Outcome writeAddress(Target& target, const Report& command) {
    Report r = echoOf(command);
    switch (command[1]) {
    case 0x00:
        firmware::writeLe32(r, kDataAt, target.writeAddress);
        return reply(r);
    case 0x01: {
        const std::uint32_t address = firmware::readLe32(command, kDataAt);
        if (address > target.flash.size()) return refuse(command);
        target.writeAddress = address;
        firmware::writeLe32(r, kDataAt, address);
        return reply(r);
    }
    default:
        return refuse(command);
    }
}

Outcome writeData(Target& target, const Report& command) {
    const std::size_t length = command[1];
    if (length == 0 || length > kMaxWriteBytes) return refuse(command);
    const auto data = std::span<const std::uint8_t>(command).subspan(kDataAt, length);
    if (!target.flash.program(target.writeAddress, data)) {
        // Past the end of the flash: nothing is written, and the reply says where the address stands.
        Report r{};
        r[0] = 0x1E;
        r[1] = 0x02;
        firmware::writeLe32(r, kDataAt, target.writeAddress);
        return reply(r);
    }
    target.writeAddress += static_cast<std::uint32_t>(length);
    Report r = echoOf(command);
    firmware::writeLe32(r, kDataAt, target.writeAddress);
    Outcome outcome = reply(r);
    outcome.flashChanged = true;
    return outcome;
}

// The application firmware flashes only a unit behind the controller that runs its boot loader.
bool mayFlash(ControllerState& state) {
    if (state.firmware == Firmware::BootLoader) return true;
    return state.session.selectedTarget > 0 && selected(state).unitInBootLoader;
}

}  // namespace

bool isTargetCommand(std::uint8_t group) {
    return group == 0x10 || group == 0x11 || group == 0x12 || group == 0x1D || group == 0x1E || group == 0x1F;
}

Outcome handleTargetCommand(ControllerState& state, const Report& command) {
    switch (command[0]) {
    case 0x10: return targets(state, command);
    case 0x11: return bootLoaderSwitch(state, command);
    case 0x12: return records(state, command);
    default: break;
    }
    if (!mayFlash(state)) return refuse(command);
    Target& target = selected(state);
    switch (command[0]) {
    case 0x1D: return eraseOrChecksum(target, command);
    case 0x1E: return writeAddress(target, command);
    default: return writeData(target, command);
    }
}

}  // namespace simulator::detail
