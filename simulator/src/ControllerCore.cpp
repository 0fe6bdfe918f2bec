#include "simulator/ControllerCore.h"

#include "Commands.h"

#include <algorithm>

namespace simulator {

ControllerCore::ControllerCore(ControllerSettings stored, std::vector<Target> targets) {
    state_.stored = std::move(stored);
    state_.targets = std::move(targets);
    powerUp(false);
}

void ControllerCore::powerUp(bool forceBootLoader) {
    state_.live = state_.stored;
    state_.session = SessionState{};
    for (auto& target : state_.targets) {
        target.writeAddress = 0;
        target.unitInBootLoader = target.imageState() != firmware::ImageState::Valid;
    }
    const bool imageValid = state_.targets.front().imageState() == firmware::ImageState::Valid;
    state_.firmware = imageValid && !forceBootLoader ? Firmware::Application : Firmware::BootLoader;
}

Outcome ControllerCore::handle(const Report& command) {
    Outcome outcome;
    if (detail::isTargetCommand(command[0]))
        outcome = detail::handleTargetCommand(state_, command);
    else if (state_.firmware == Firmware::Application)
        outcome = detail::handleApplicationCommand(state_, command);
    else
        outcome = detail::refuse(command);  // the boot loader knows only the target commands
    ++state_.commandsHandled;
    if (outcome.reply && isErrorReply(*outcome.reply)) ++state_.commandsRefused;
    return outcome;
}

Report eventReport(const ControllerState& state, bool profileChanged) {
    Report report{};
    report[0] = 0x42;
    report[1] = 0x20;
    // Data byte 0: nonzero when the profile changed; 1 and 2: profile and effect now shown;
    // 3: set when the effect changed, so that the host looks even when byte 0 is zero.
    report[kDataAt + 0] = profileChanged ? 1 : 0;
    report[kDataAt + 1] = state.live.currentProfile;
    report[kDataAt + 2] = state.live.current().activeEffect[0];
    report[kDataAt + 3] = 1;
    report[kDataAt + 4] = 1;
    return report;
}

std::optional<Report> ControllerCore::pressEffectButton() {
    if (state_.firmware != Firmware::Application) return std::nullopt;
    auto& profile = state_.live.current();
    const auto& list = profile.effectList;
    const auto used = std::count_if(list.begin(), list.end(), [](std::uint8_t c) { return c != kNoEffect; });
    if (used == 0) return std::nullopt;
    // Start after the active effect's place (or from the top when it is not listed) and take the next
    // listed effect, wrapping around.
    const auto at = std::find(list.begin(), list.end(), profile.activeEffect[0]);
    std::size_t position = at == list.end() ? list.size() - 1 : static_cast<std::size_t>(at - list.begin());
    do {
        position = (position + 1) % list.size();
    } while (list[position] == kNoEffect);
    profile.activeEffect.fill(0);
    profile.activeEffect[0] = list[position];
    return eventReport(state_, false);
}

std::optional<Report> ControllerCore::pressProfileButton() {
    if (state_.firmware != Firmware::Application) return std::nullopt;
    state_.live.currentProfile = static_cast<std::uint8_t>((state_.live.currentProfile + 1) % kProfileCount);
    return eventReport(state_, true);
}

}  // namespace simulator
