#include "ControllerRecordFetch.h"

#include "BootLoaderCommands.h"

#include <thread>

namespace updater {

void pauseFor(std::chrono::milliseconds pause) { std::this_thread::sleep_for(pause); }

namespace {

template <typename Step>
bool retry(const Pauses& pauses, std::chrono::milliseconds pause, Step step) {
    for (int attempt = 0; attempt < pauses.retryCount; ++attempt) {
        if (step() == ExchangeResult::Ok) return true;
        pauseFor(pause);
    }
    return false;
}

bool selectAndConfirm(CommandChannel& link, std::uint32_t target, const Pauses& pauses) {
    return retry(pauses, pauses.afterFailedQuery, [&] {
        std::uint32_t selected = 0;
        if (const auto result = selectTarget(link, target); result != ExchangeResult::Ok) return result;
        const auto result = getSelectedTarget(link, selected);
        return result == ExchangeResult::Ok && selected != target ? ExchangeResult::NoReply : result;
    });
}

}  // namespace

ControllerRecords fetchControllerRecords(CommandChannel& link, const firmware::FirmwareInfoBlock& package,
                                         int forcedEntry, const Pauses& pauses) {
    ControllerRecords records;
    firmware::Record record{};
    if (!retry(pauses, pauses.afterFailedQuery, [&] { return getFwInfo(link, record); })) return records;
    records.fwInfo = firmware::decodeFwInfo(record);
    if (!retry(pauses, pauses.afterFailedQuery, [&] { return getRecord(link, 0, record); })) return records;
    records.versionText = firmware::decodeVerInfo(record).value_or(u"");
    std::uint16_t apInfoIndex = 0;
    if (!retry(pauses, pauses.afterFailedQuery, [&] { return getApInfoIndex(link, apInfoIndex); })) return records;
    if (!retry(pauses, pauses.afterFailedQuery, [&] { return getRecord(link, apInfoIndex, record); })) return records;
    records.application = firmware::decodeApInfo(record);
    const int forcedNumber = forcedEntry < 0 ? firmware::kNotForced : forcedEntry + 1;
    records.selectedEntry = firmware::selectImage(package, *records.fwInfo, forcedNumber);
    return records;
}

TargetChoice chooseTarget(CommandChannel& link, const firmware::FirmwareInfoBlock& package, int forcedEntry,
                          const Pauses& pauses) {
    TargetChoice choice;
    std::uint32_t count = 0;
    if (package.targetSearch == firmware::kSearchAllTargets) {
        if (!retry(pauses, pauses.afterFailedQuery, [&] { return countTargets(link, count); })) {
            choice.records = fetchControllerRecords(link, package, forcedEntry, pauses);
            return choice;
        }
        for (std::uint32_t target = 0; target < count; ++target) {
            if (!selectAndConfirm(link, target, pauses)) continue;
            choice.records = fetchControllerRecords(link, package, forcedEntry, pauses);
            if (choice.records.selectedEntry >= 0) {
                choice.targetIndex = static_cast<int>(target);
                return choice;
            }
        }
        return choice;
    }
    choice.targetIndex = package.targetIndex;
    const bool haveTarget = countTargets(link, count) == ExchangeResult::Ok && count > 0 && package.targetIndex < count;
    if (haveTarget) selectAndConfirm(link, package.targetIndex, pauses);
    choice.records = fetchControllerRecords(link, package, forcedEntry, pauses);
    return choice;
}

}  // namespace updater
