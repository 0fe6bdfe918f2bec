#include "CtlController.h"

#include "LightingTransfer.h"

#include "firmware/ControllerRecords.h"
#include "tarnlink/tarnlink.h"

#include <array>
#include <thread>

namespace ctl {

namespace {

using namespace std::chrono_literals;

// Records and status are asked for a few times: a controller that just arrived may miss the first.
constexpr int kTries = 3;
constexpr auto kRetryPause = 100ms;
// Mode 3 while settings are read or written, mode 0 to give the controller back (as the configuration
// program does).
constexpr std::uint8_t kTransferMode = 3;
constexpr std::uint8_t kOwnOperationMode = 0;
constexpr int kProfile = 0;  // the settings block holds one profile record

template <typename Step>
bool WithRetries(Step step) {
    for (int attempt = 0; attempt < kTries; ++attempt) {
        if (step() == 0) return true;
        std::this_thread::sleep_for(kRetryPause);
    }
    return false;
}

config::TarnlinkApi BoundLibrary() {
    // The library is compiled in; its ordinal table binds like the shared library's.
    return config::BindTarnlinkByOrdinal(&TarnGetProcByOrdinal).value();
}

std::string DevicePath(const _DEVICE_STATE& device, std::int32_t slot) {
    std::array<char, 4096> buffer{};
    const auto length = TarnGetDevicePath(device.deviceNumber, buffer.data(), static_cast<std::int32_t>(buffer.size()), slot);
    return std::string(buffer.data(), static_cast<std::size_t>(length));
}

// The firmware version (APInfo) and version text (VerInfo) of the controller a link addresses.
void ReadFirmware(config::CUSBDriver& link, ControllerInfo& info) {
    firmware::Record verInfo{};
    if (WithRetries([&] { return link.GetInfoPage(0, verInfo); })) {
        const auto text = firmware::decodeVerInfo(verInfo);
        if (text) info.firmwareText.assign(text->begin(), text->end());  // version texts are ASCII
    }
    std::uint16_t apIndex = 0;
    firmware::Record apInfo{};
    constexpr std::uint16_t kLastRecordPage = 0xFF - 0x20;
    if (WithRetries([&] {
            if (const int result = link.GetAPIndex(apIndex); result != 0) return result;
            if (apIndex > kLastRecordPage) return 1;
            return link.GetInfoPage(static_cast<std::uint8_t>(apIndex), apInfo);
        }))
        info.firmwareVersion = firmware::versionText(firmware::decodeApInfo(apInfo));
}

}  // namespace

struct CtlController::Links {
    config::TarnlinkApi library = BoundLibrary();
    config::CUSBDriver application{library};
    config::IAP_CUSBDriver bootLoader{library};
};

CtlController::CtlController() : links_(std::make_unique<Links>()) {}
CtlController::~CtlController() = default;

void CtlController::Open() {
    links_->application.OpenDevice();
    links_->bootLoader.OpenDevice();
}

bool CtlController::ApplicationOpen() const { return links_->application.IsOpen(); }
bool CtlController::BootLoaderOpen() const { return links_->bootLoader.IsOpen(); }
config::CUSBDriver& CtlController::Link() { return links_->application; }

std::vector<ControllerInfo> CtlController::List() {
    std::vector<ControllerInfo> controllers;
    for (config::CUSBDriver* link : {static_cast<config::CUSBDriver*>(&links_->application),
                                     static_cast<config::CUSBDriver*>(&links_->bootLoader)}) {
        bool first = true;
        for (const _DEVICE_STATE& device : link->Devices()) {
            ControllerInfo info;
            info.bootLoader = link == &links_->bootLoader;
            info.path = DevicePath(device, link->Slot());
            // The link talks to its first controller only; the others are listed without firmware.
            if (first) ReadFirmware(*link, info);
            info.addressed = first && !info.bootLoader;
            first = false;
            controllers.push_back(std::move(info));
        }
    }
    return controllers;
}

std::optional<CtlController::Status> CtlController::ReadStatus() {
    std::array<std::uint8_t, 20> status{};
    if (!WithRetries([&] { return links_->application.GetStatus(status); })) return std::nullopt;
    return Status{status[4], status[5]};
}

bool CtlController::ReadLighting(config::SettingsBlock& block) {
    config::CUSBDriver& link = links_->application;
    const auto before = ReadStatus();
    config::CLightingTransfer transfer(link, block);
    const bool read = transfer.ReadProfileLighting(-1) == 0;
    if (before) {
        link.SelectProfile(static_cast<std::uint8_t>(before->profile));
        link.SetActiveEffect(before->effectCode);
    }
    return read && before.has_value();
}

bool CtlController::WriteLighting(config::SettingsBlock& block) {
    config::CUSBDriver& link = links_->application;
    link.SetMode(kTransferMode);
    bool ok = link.SelectProfile(kProfile) == 0;
    config::CLightingTransfer transfer(link, block);
    ok = transfer.WriteProfileLighting(kProfile, 10, 80) == 0 && ok;
    ok = link.StoreSettings() == 0 && ok;
    ok = link.SelectProfile(kProfile) == 0 && ok;
    return ok && link.IsOpen();
}

void CtlController::Release() {
    if (links_->application.IsOpen()) links_->application.SetMode(kOwnOperationMode);
}

}  // namespace ctl
