#include "simulator/Target.h"

#include "firmware/ApplicationImage.h"

#include <algorithm>
#include <cstring>

namespace simulator {

firmware::Signature defaultSignature() {
    firmware::Signature signature{};
    std::memcpy(signature.data(), "HALCYRA-VCTRL-01", signature.size());
    return signature;
}

std::string versionRecordText(const firmware::Version& version) {
    // The minor number in hundredths: one digit is tenths, so 1.1 reads "1.10" as in the package's text.
    // Appended piece by piece: GCC 12 at -O3 warns (-Wrestrict, a false alarm) about "V" + a string.
    std::string text = "V";
    text += std::to_string(version.major);
    text += '.';
    text += std::to_string(version.minor);
    if (version.minor < 10) text += '0';
    return text;
}

TargetConfig defaultTargetConfig() {
    TargetConfig config;
    config.fwInfo.signature = defaultSignature();
    config.fwInfo.layoutId = 0x0001;
    config.fwInfo.erasePageBytes = 1024;
    config.fwInfo.erasePageCount = 64;
    config.fwInfo.imageStart = 2048;
    return config;
}

std::optional<std::string> checkTargetConfig(const TargetConfig& config) {
    const auto& info = config.fwInfo;
    if (info.erasePageBytes == 0 || info.erasePageCount == 0) return "the flash has no pages";
    if (info.imageStart + firmware::kImageHeaderBytes > info.areaBytes())
        return "the image start leaves no room for an image";
    const std::uint32_t versionPages = (info.imageStart + firmware::kRecordBytes - 1) / firmware::kRecordBytes;
    if (config.apInfoRecord < versionPages || config.apInfoRecord > 0xDF)
        return "the APInfo record number must lie after the version area's records and below 0xE0";
    return std::nullopt;
}

Target::Target(TargetConfig targetConfig)
    : config(std::move(targetConfig)), flash(config.fwInfo.erasePageBytes, config.fwInfo.erasePageCount) {}

void Target::programFresh() {
    flash.erase(0, flash.size());
    // A small body with a recognisable pattern stands in for the code.
    std::vector<std::uint8_t> body(1024);
    for (std::size_t i = 0; i < body.size(); ++i) body[i] = static_cast<std::uint8_t>(i * 7 + 3);
    const auto image = firmware::buildApplicationImage(config.freshVersion, body);
    flash.load(config.fwInfo.imageStart, image);
    const auto verInfo = firmware::encodeVerInfo(firmware::utf16FromAscii(versionRecordText(config.freshVersion)));
    flash.load(0, verInfo);
}

namespace {

std::span<const std::uint8_t> imageArea(const Target& target) {
    const std::uint32_t start = target.config.fwInfo.imageStart;
    return target.flash.region(start, target.flash.size() - start);
}

}  // namespace

firmware::ImageState Target::imageState() const { return firmware::checkApplicationImage(imageArea(*this)); }

firmware::Record Target::fwInfoRecord() const { return firmware::encodeFwInfo(config.fwInfo); }

firmware::Record Target::apInfoRecord() const { return firmware::apInfoRecord(imageArea(*this)); }

firmware::Version Target::version() const { return firmware::decodeApInfo(apInfoRecord()); }

std::optional<firmware::Record> Target::recordPage(std::uint32_t n) const {
    if (n == config.apInfoRecord) return apInfoRecord();
    const std::uint32_t start = n * firmware::kRecordBytes;
    const std::uint32_t end = config.fwInfo.imageStart;
    if (start >= end) return std::nullopt;
    firmware::Record record;
    record.fill(0xFF);
    const auto bytes = flash.region(start, std::min<std::uint32_t>(firmware::kRecordBytes, end - start));
    std::copy(bytes.begin(), bytes.end(), record.begin());
    return record;
}

}  // namespace simulator
