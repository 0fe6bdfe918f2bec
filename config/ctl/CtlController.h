// halcyractl's hold on the controller: the configuration program's controller link (slot 0) and
// boot-loader link (slot 1) on the device-access library compiled in, the list of controllers with
// their firmware and bus paths, and the read and write of a profile's lighting as the configuration
// program does them.
#pragma once

#include "CUSBDriver.h"
#include "IAP_CUSBDriver.h"
#include "ProfileRecord.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ctl {

struct ControllerInfo {
    bool bootLoader = false;
    std::string path;             // on its bus: a hidraw node or a virtual-bus socket
    std::string firmwareVersion;  // "1.0.100"; "" when the controller did not tell
    std::string firmwareText;     // its version text, e.g. "V1.00"; "" when it has none
    bool addressed = false;       // the controller the other commands act on
};

class CtlController {
public:
    CtlController();
    ~CtlController();
    CtlController(const CtlController&) = delete;
    CtlController& operator=(const CtlController&) = delete;

    // Opens both links (each finds what is plugged in).
    void Open();
    bool ApplicationOpen() const;
    bool BootLoaderOpen() const;

    // Every controller on both links; the firmware of the addressed one of each link.
    std::vector<ControllerInfo> List();

    // The controller link: the commands act on it (its first controller).
    config::CUSBDriver& Link();

    // GetStatus, tried a few times: profile (data byte 4) and active effect code (data byte 5).
    struct Status {
        int profile = 0;
        std::uint8_t effectCode = 0;
    };
    std::optional<Status> ReadStatus();

    // The lighting of the profile the controller reports, read into `block` (profile record 0) as the
    // configuration program reads it when a controller arrives; the effect shown before is put back,
    // since the read steps through the effects. False when a counted command failed.
    bool ReadLighting(config::SettingsBlock& block);
    // The configuration program's apply: select the profile, write its lighting, store it in the
    // controller, select it again. False when selecting or storing failed.
    bool WriteLighting(config::SettingsBlock& block);
    // Gives the controller back to its own operation (mode 0), as the configuration program does at exit.
    void Release();

private:
    struct Links;
    std::unique_ptr<Links> links_;
};

}  // namespace ctl
