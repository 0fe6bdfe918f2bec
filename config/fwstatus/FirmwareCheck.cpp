#include "FirmwareCheck.h"

#include "CUSBDriver.h"

#include <array>
#include <thread>

namespace fwstatus {

namespace {

// Records are asked for by key 0x20 + page; a page beyond the last key cannot be asked for.
constexpr std::uint16_t kLastRecordPage = 0xFF - 0x20;

template <typename Step>
bool WithRetries(const RecordRetries& retries, Step step) {
    for (int attempt = 0; attempt < retries.tries; ++attempt) {
        if (step() == 0) return true;
        if (retries.wait) {
            retries.wait(retries.pause);
        } else {
            std::this_thread::sleep_for(retries.pause);
        }
    }
    return false;
}

struct ControllerRecords {
    int selectedEntry = firmware::kRecordsNotFetched;
    firmware::Record verInfo{};
    firmware::Record apInfo{};
};

// FWInfo, VerInfo (record 0), the APInfo record index and APInfo; stops at the first record that
// cannot be fetched, leaving the entry unselected.
ControllerRecords FetchRecords(config::CUSBDriver& link, const firmware::FirmwareInfoBlock& package,
                               const RecordRetries& retries) {
    ControllerRecords records;
    config::CommandReport fwInfoReply{};
    if (!WithRetries(retries, [&] { return link.GetFWInfo(fwInfoReply); })) return records;
    if (!WithRetries(retries, [&] { return link.GetInfoPage(0, records.verInfo); })) return records;
    std::uint16_t apInfoIndex = 0;
    firmware::Record apInfo{};
    const bool haveApInfo = WithRetries(retries, [&] {
        if (const int result = link.GetAPIndex(apInfoIndex); result != 0) return result;
        if (apInfoIndex > kLastRecordPage) return 1;
        return link.GetInfoPage(static_cast<std::uint8_t>(apInfoIndex), apInfo);
    });
    if (!haveApInfo) return records;
    records.apInfo = apInfo;
    const auto fwInfo = std::span<const std::uint8_t, config::kReportSize>(fwInfoReply)
                            .subspan<config::kReportDataOffset, firmware::kRecordBytes>();
    records.selectedEntry = firmware::selectImage(package, firmware::decodeFwInfo(fwInfo));
    return records;
}

}  // namespace

std::filesystem::path UpdaterProgramPath(std::string_view programDir) {
    return std::filesystem::path(std::string(programDir) + "Tessaflash/tessaflash");
}

FirmwareCheckResult CheckFirmware(config::CUSBDriver& link, const std::filesystem::path& updaterProgram,
                                  firmware::PackageMessageSink& messages, const RecordRetries& retries) {
    // A package that cannot be read leaves a zero information block: no entry fits it.
    const firmware::PackageReadResult package = firmware::readPackage(updaterProgram, messages);
    const firmware::FirmwareInfoBlock info = package.info.value_or(firmware::FirmwareInfoBlock{});

    FirmwareCheckResult check;
    check.updateText = firmware::storedText(info.version);
    // A link that is not open cannot answer: asking it would only wait out every try.
    const ControllerRecords records = link.IsOpen() ? FetchRecords(link, info, retries) : ControllerRecords{};
    check.selectedEntry = records.selectedEntry;
    check.firmwareText = firmware::decodeVerInfo(records.verInfo).value_or(u"");
    check.result = CompareFirmware(records.selectedEntry, info, firmware::decodeApInfo(records.apInfo));
    return check;
}

}  // namespace fwstatus
