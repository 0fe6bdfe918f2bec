#include "firmware/PackageReader.h"

#include "firmware/Scrambling.h"

#include <algorithm>
#include <cstring>
#include <fstream>

namespace firmware {

namespace {

// Where the package's bytes come from: the program file or bytes in memory.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual std::uint64_t size() const = 0;
    // Reads out.size() bytes at `offset`; false unless all of them arrived.
    virtual bool readAt(std::uint64_t offset, std::span<std::uint8_t> out) = 0;
};

class FileSource : public ByteSource {
public:
    explicit FileSource(const std::filesystem::path& path) : file_(path, std::ios::binary) {
        std::error_code error;
        const auto bytes = std::filesystem::file_size(path, error);
        size_ = error ? 0 : bytes;
    }
    bool isOpen() const { return file_.is_open(); }
    std::uint64_t size() const override { return size_; }
    bool readAt(std::uint64_t offset, std::span<std::uint8_t> out) override {
        file_.clear();
        file_.seekg(static_cast<std::streamoff>(offset));
        file_.read(reinterpret_cast<char*>(out.data()), static_cast<std::streamsize>(out.size()));
        return static_cast<std::size_t>(file_.gcount()) == out.size();
    }

private:
    std::ifstream file_;
    std::uint64_t size_ = 0;
};

class MemorySource : public ByteSource {
public:
    explicit MemorySource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    std::uint64_t size() const override { return bytes_.size(); }
    bool readAt(std::uint64_t offset, std::span<std::uint8_t> out) override {
        if (offset > bytes_.size() || out.size() > bytes_.size() - offset) return false;
        std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(offset), out.size(), out.begin());
        return true;
    }

private:
    std::span<const std::uint8_t> bytes_;
};

// The bytes every entry takes before the information block. Empty images skip their reads but their
// sizes still move the position, so both sizes always count. 64-bit sums of 32-bit sizes cannot wrap.
std::uint64_t packageBytes(const FirmwareInfoBlock& info) {
    std::uint64_t total = kInfoBlockBytes;
    for (const FirmwareImageEntry& entry : info.entries) total += std::uint64_t{entry.imageBytes} + entry.versionBlockBytes;
    return total;
}

std::optional<std::vector<std::uint8_t>> readBlock(ByteSource& source, std::uint64_t offset, std::uint32_t bytes) {
    std::vector<std::uint8_t> block(bytes);
    if (!source.readAt(offset, block)) return std::nullopt;
    descrambleBlock(block);
    return block;
}

PackageReadResult fail(PackageReadStatus status, PackageMessageSink& messages, PackageMessage message) {
    messages.show(message);
    return PackageReadResult{status, std::nullopt, std::nullopt};
}

PackageReadResult readFrom(ByteSource& source, PackageMessageSink& messages) {
    std::array<std::uint8_t, kInfoBlockBytes> stored{};
    if (source.size() < kInfoBlockBytes || !source.readAt(source.size() - kInfoBlockBytes, stored))
        return fail(PackageReadStatus::CannotRead, messages, PackageMessage::CannotRead);
    descrambleBlock(stored);
    FirmwareInfoBlock info;
    std::memcpy(&info, stored.data(), sizeof info);
    if (!std::equal(std::begin(info.marker), std::end(info.marker), std::begin(kPackageMarker)))
        return fail(PackageReadStatus::NoInformation, messages, PackageMessage::NoInformation);

    PackageReadResult result{PackageReadStatus::EntryUnreadable, info, std::nullopt};
    // The sizes are untrusted: the package they describe must fit the file before any entry is read.
    if (packageBytes(info) > source.size()) return result;

    FirmwarePackage package;
    package.info = info;
    std::uint64_t position = source.size() - kInfoBlockBytes;
    for (std::size_t i = kPackageEntryCount; i-- > 0;) {
        const FirmwareImageEntry& entry = info.entries[i];
        position -= entry.versionBlockBytes;
        const std::uint64_t versionAt = position;
        position -= entry.imageBytes;
        if (entry.imageBytes == 0) continue;
        auto versionBlock = readBlock(source, versionAt, entry.versionBlockBytes);
        auto image = readBlock(source, position, entry.imageBytes);
        if (!versionBlock || !image) return result;
        package.entries[i] = {std::move(*image), std::move(*versionBlock)};
    }
    result.status = PackageReadStatus::Ok;
    result.package = std::move(package);
    return result;
}

}  // namespace

PackageMessageText packageMessageText(PackageMessage message) {
    switch (message) {
    case PackageMessage::CannotOpen: return {"Can not open Program file!\n", "", false};
    case PackageMessage::CannotRead: return {"Fail to read Program file!", "Error", true};
    case PackageMessage::NoInformation: return {"Fail to find firmware information!", "Error", true};
    }
    return {"", "", false};
}

PackageReadResult readPackage(const std::filesystem::path& programFile, PackageMessageSink& messages) {
    FileSource source(programFile);
    if (!source.isOpen()) return fail(PackageReadStatus::CannotOpen, messages, PackageMessage::CannotOpen);
    return readFrom(source, messages);
}

PackageReadResult readPackageBytes(std::span<const std::uint8_t> fileBytes, PackageMessageSink& messages) {
    MemorySource source(fileBytes);
    return readFrom(source, messages);
}

}  // namespace firmware
