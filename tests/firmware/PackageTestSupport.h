// Test support for the firmware package: a package built by the package builder behind some
// executable bytes, edits of its stored information block, and a recorder of the reader's messages.
#pragma once

#include "PackageBuilder.h"

#include "firmware/PackageReader.h"
#include "firmware/Scrambling.h"

#include <cstring>
#include <functional>
#include <numeric>
#include <vector>

namespace firmware::test {

class RecordedMessages : public PackageMessageSink {
public:
    void show(PackageMessage message) override { shown.push_back(message); }
    std::vector<PackageMessage> shown;
};

inline std::vector<std::uint8_t> countingBytes(std::size_t n, std::uint8_t first) {
    std::vector<std::uint8_t> bytes(n);
    std::iota(bytes.begin(), bytes.end(), first);
    return bytes;
}

// Entries 0, 3 and 8 with lengths that are no multiples of 2 or 5, entry 5 empty.
inline fwpack::PackageSource samplePackage() {
    fwpack::PackageSource source;
    source.info.signature[0] = 'S';
    source.info.targetIndex = 2;
    source.info.bootLoaderVendorId = 0x2516;
    source.info.bootLoaderProductId = 0x0050;
    source.info.applicationVendorId = 0x2516;
    source.info.applicationProductId = 0x004F;
    source.info.bytesPerWrite = 48;
    storeText(source.info.title, u"Updater");
    storeText(source.info.version, u"V1.10");
    source.entries[0] = fwpack::EntrySource{countingBytes(1001, 1), countingBytes(61, 7), u"Main", 1, {1, 1, 0}};
    source.entries[3] = fwpack::EntrySource{countingBytes(7, 9), {}, u"Side", 4, {2, 0, 3}};
    source.entries[8] = fwpack::EntrySource{countingBytes(64, 0), countingBytes(3, 2), u"Last", 9, {0, 9, 70000}};
    return source;
}

// Executable bytes followed by the package.
inline std::vector<std::uint8_t> programWithPackage(const fwpack::PackageSource& source, std::size_t programBytes = 333) {
    auto bytes = countingBytes(programBytes, 0x40);
    const auto built = fwpack::buildPackage(source);
    bytes.insert(bytes.end(), built.bytes.begin(), built.bytes.end());
    return bytes;
}

// Descrambles the stored information block at the end, lets `edit` change it and stores it again.
inline void editInfo(std::vector<std::uint8_t>& file, const std::function<void(FirmwareInfoBlock&)>& edit) {
    const auto stored = std::span(file).last(kInfoBlockBytes);
    descrambleBlock(stored);
    FirmwareInfoBlock info;
    std::memcpy(&info, stored.data(), sizeof info);
    edit(info);
    std::memcpy(stored.data(), &info, sizeof info);
    scrambleBlock(stored);
}

}  // namespace firmware::test
