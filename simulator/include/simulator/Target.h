// One flashable target of the controller: the controller itself (target 0) or a unit behind it. Each
// has its own hardware signature, layout id and flash, which holds the version area (address 0 up to
// the image start, read as 60-byte record pages; record 0 is VerInfo) and the application image.
#pragma once

#include "simulator/Flash.h"

#include "firmware/ApplicationImage.h"
#include "firmware/ControllerRecords.h"

#include <cstdint>
#include <optional>
#include <string>

namespace simulator {

struct TargetConfig {
    firmware::FwInfo fwInfo;
    // Record page number under which APInfo is read (the reply to the APInfo index query).
    std::uint8_t apInfoRecord = 0x40;
    // Firmware a fresh target carries; its version record holds versionRecordText of it.
    firmware::Version freshVersion{1, 0, 100};
};

// The version text of the VerInfo record that goes with a firmware: "V" major "." minor, a one-digit
// minor written as tenths, the build left out (1.1.0 is "V1.10", 1.0.100 is "V1.00", 2.12.3 is "V2.12").
std::string versionRecordText(const firmware::Version& version);

// The default target: what a package for the virtual controller has to match.
TargetConfig defaultTargetConfig();
// The signature of the default target, "HALCYRA-VCTRL-01".
firmware::Signature defaultSignature();
// Empty when the configuration is usable, otherwise why not.
std::optional<std::string> checkTargetConfig(const TargetConfig& config);

struct Target {
    explicit Target(TargetConfig targetConfig);

    TargetConfig config;
    Flash flash;
    std::uint32_t writeAddress = 0;
    // A unit behind the controller runs its own boot loader when told to or when its image is not valid.
    bool unitInBootLoader = false;

    // Factory contents: the fresh firmware image and its version record.
    void programFresh();

    firmware::ImageState imageState() const;
    firmware::Record fwInfoRecord() const;
    // APInfo: the first 60 bytes of the image area as they lie in the flash.
    firmware::Record apInfoRecord() const;
    // Record page n of the version area (0xFF past the image start); nothing beyond the version area
    // except the APInfo page.
    std::optional<firmware::Record> recordPage(std::uint32_t n) const;
    firmware::Version version() const;
};

}  // namespace simulator
