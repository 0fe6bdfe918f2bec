#include "FlashSequence.h"

#include "BootLoaderCommands.h"

#include "firmware/Checksum.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

namespace updater {

namespace {

constexpr std::uint32_t kVersionTextBytesValue = 26;
constexpr std::size_t kVersionTextUnits = 13;
constexpr int kImageAttempts = 3;
constexpr int kVersionAttempts = 2;
// The count the verify failure names: the attempts made before giving up, plus the one that would follow.
constexpr int kVersionVerifyFailureCount = 3;

std::string formatted(const char* format, int value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

class Flasher {
public:
    Flasher(CommandChannel& link, const Pauses& pauses, const ProgressReport& progress)
        : link_(link), pauses_(pauses), progress_(progress) {}

    FlashOutcome run(const FlashJob& job) {
        report(0);
        if (!fetchFwInfo()) return fail("Fail to Get FW Info!");
        pauseFor(pauses_.afterFwInfo);
        pieceBytes_ = std::min<std::size_t>(job.bytesPerWrite, kMaxWriteBytes);
        // A package that gives no data length can never write a byte: fail instead of looping.
        if (pieceBytes_ == 0) return fail(formatted("Fail to Write Flash : %d Block!", 0));
        if (auto failure = flashImage(job.image)) return fail(*failure);
        pauseFor(pauses_.beforeVersion);
        if (auto failure = flashVersion(preparedVersionBlock(job.versionBlock, job.versionText))) return fail(*failure);
        leaveBootLoader(link_);
        report(100);
        pauseFor(pauses_.afterLeave);
        return {true, {}};
    }

private:
    template <typename Step>
    bool retry(std::chrono::milliseconds pause, Step step) {
        for (int attempt = 0; attempt < pauses_.retryCount; ++attempt) {
            if (step() == ExchangeResult::Ok) return true;
            pauseFor(pause);
        }
        return false;
    }

    bool fetchFwInfo() {
        firmware::Record record{};
        if (!retry(pauses_.afterFailedQuery, [&] { return getFwInfo(link_, record); })) return false;
        fwInfo_ = firmware::decodeFwInfo(record);
        return true;
    }

    bool eraseLength(std::uint32_t length) {
        return retry(pauses_.afterFailedFlashStep, [&] { return erase(link_, length); });
    }

    bool setAddress(std::uint32_t address) {
        return setWriteAddressChecked(link_, address, {pauses_.retryCount, pauses_.afterFailedFlashStep});
    }

    // Writes `bytes` from `base` in pieces; progress runs from `from` over `span` percent.
    std::optional<std::string> writePieces(std::span<const std::uint8_t> bytes, std::uint32_t base, int from, int span) {
        const std::size_t pieces = (bytes.size() + pieceBytes_ - 1) / pieceBytes_;
        for (std::size_t n = 0; n < pieces; ++n) {
            const std::size_t offset = n * pieceBytes_;
            const auto piece = bytes.subspan(offset, std::min(pieceBytes_, bytes.size() - offset));
            if (!writePiece(piece, base + static_cast<std::uint32_t>(offset)))
                return formatted("Fail to Write Flash : %d Block!", static_cast<int>(offset));
            report(from + static_cast<int>((n + 1) * static_cast<std::size_t>(span) / pieces));
        }
        return std::nullopt;
    }

    bool writePiece(std::span<const std::uint8_t> piece, std::uint32_t at) {
        const std::uint32_t expected = at + static_cast<std::uint32_t>(piece.size());
        for (int attempt = 0; attempt < pauses_.retryCount; ++attempt) {
            if (attempt > 0) pauseFor(pauses_.afterFailedFlashStep);
            std::uint32_t reported = 0;
            const ExchangeResult result = writeData(link_, piece, reported);
            if (result == ExchangeResult::Ok && reported == expected) return true;
            if (result == ExchangeResult::BadRequest) return false;
            // A wrong address, and also a lost reply (the piece may have been written and the address
            // moved on): point the controller back at the piece before writing it again, so that it
            // never lands on the next piece's place.
            if (result == ExchangeResult::Ok || result == ExchangeResult::NoReply) {
                if (!setAddress(at)) return false;
            }
        }
        return false;
    }

    std::optional<std::string> flashImage(std::span<const std::uint8_t> image) {
        const std::uint32_t start = fwInfo_.imageStart;
        const std::uint32_t expectedSum = firmware::wordSum(image);
        std::optional<std::uint32_t> firstWrongSum;
        for (int attempt = 1; attempt <= kImageAttempts; ++attempt) {
            if (!eraseLength(fwInfo_.areaBytes())) return "Fail to Erase Flash!";
            pauseFor(pauses_.afterErase);
            if (!setAddress(start)) return "Fail to Set Flash Write Point!";
            report(10);
            if (auto failure = writePieces(image, start, 10, 70)) return failure;
            std::uint32_t sum = 0;
            const bool answered = retry(pauses_.afterFailedQuery, [&] {
                return checksum(link_, start, static_cast<std::uint32_t>(image.size()), sum);
            });
            if (answered && sum == expectedSum) return std::nullopt;
            const bool sameAsFirst = answered && firstWrongSum && *firstWrongSum == sum;
            if (attempt == kImageAttempts || sameAsFirst) return "Fail to  CheckSum FW Data!";
            if (!firstWrongSum && answered) firstWrongSum = sum;
        }
        return "Fail to  CheckSum FW Data!";
    }

    bool versionMatches(std::span<const std::uint8_t> block) {
        for (std::size_t offset = 0, n = 0; offset < block.size(); offset += firmware::kRecordBytes, ++n) {
            firmware::Record record{};
            const auto wanted = block.subspan(offset, std::min(firmware::kRecordBytes, block.size() - offset));
            if (!retry(pauses_.afterFailedQuery,
                       [&] { return getRecord(link_, static_cast<std::uint16_t>(n), record); }))
                return false;
            if (!std::equal(wanted.begin(), wanted.end(), record.begin())) return false;
        }
        return true;
    }

    std::optional<std::string> flashVersion(const std::vector<std::uint8_t>& block) {
        for (int attempt = 1; attempt <= kVersionAttempts; ++attempt) {
            if (!setAddress(0)) return "Fail to Set Flash Version Write Point!";
            if (auto failure = writePieces(block, 0, 80, 20)) return failure;
            if (versionMatches(block)) return std::nullopt;
            eraseLength(fwInfo_.imageStart);
        }
        return formatted("Fail to Verify Version Flash : %d Block!", kVersionVerifyFailureCount);
    }

    // Erases the version area and the image's first page, so the target stays in its boot loader.
    FlashOutcome fail(std::string text) {
        const std::uint32_t length = std::uint32_t{fwInfo_.erasePageBytes} + fwInfo_.imageStart;
        if (length > 0) eraseLength(length);
        return {false, std::move(text)};
    }

    void report(int percent) {
        if (progress_) progress_(percent);
    }

    CommandChannel& link_;
    const Pauses& pauses_;
    const ProgressReport& progress_;
    firmware::FwInfo fwInfo_{};
    std::size_t pieceBytes_ = 0;
};

}  // namespace

std::vector<std::uint8_t> preparedVersionBlock(std::span<const std::uint8_t> block, std::u16string_view versionText) {
    std::vector<std::uint8_t> prepared(block.begin(), block.end());
    constexpr std::size_t kHeaderBytes = 4 + 2 * kVersionTextUnits;
    if (prepared.size() < kHeaderBytes) prepared.resize(kHeaderBytes, 0);
    for (std::size_t i = 0; i < 4; ++i) prepared[i] = static_cast<std::uint8_t>(kVersionTextBytesValue >> (8 * i));
    for (std::size_t unit = 0; unit < kVersionTextUnits; ++unit) {
        const char16_t c = unit < versionText.size() ? versionText[unit] : u'\0';
        prepared[4 + 2 * unit] = static_cast<std::uint8_t>(c);
        prepared[5 + 2 * unit] = static_cast<std::uint8_t>(c >> 8);
    }
    return prepared;
}

FlashOutcome runFlashSequence(CommandChannel& link, const FlashJob& job, const ProgressReport& progress,
                              const Pauses& pauses) {
    return Flasher(link, pauses, progress).run(job);
}

}  // namespace updater
