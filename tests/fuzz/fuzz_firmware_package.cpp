// The firmware package reader on any file contents: it never reads outside the bytes it is given,
// never allocates for sizes the file cannot hold, and a package it accepts has blocks of exactly the
// sizes its entries state.
#include "firmware/PackageReader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

class CountedMessages : public firmware::PackageMessageSink {
public:
    void show(firmware::PackageMessage) override { ++shown; }
    int shown = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CountedMessages messages;
    const auto read = firmware::readPackageBytes(std::span(data, size), messages);
    // Messages come only with the failures that have one, one each.
    const bool silent = read.ok() || read.status == firmware::PackageReadStatus::EntryUnreadable;
    if (messages.shown != (silent ? 0 : 1)) std::abort();
    if (read.ok()) {
        std::size_t total = firmware::kInfoBlockBytes;
        for (std::size_t i = 0; i < firmware::kPackageEntryCount; ++i) {
            const auto& entry = read.package->info.entries[i];
            const auto& blocks = read.package->entries[i];
            const bool hasImage = entry.imageBytes != 0;
            if (blocks.image.size() != (hasImage ? entry.imageBytes : 0)) std::abort();
            if (blocks.versionBlock.size() != (hasImage ? entry.versionBlockBytes : 0)) std::abort();
            total += std::size_t{entry.imageBytes} + entry.versionBlockBytes;
        }
        if (total > size) std::abort();
    }
    return 0;
}
