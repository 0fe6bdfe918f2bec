#include "simulator/Persistence.h"

#include "firmware/Bytes.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace simulator {

namespace {

constexpr char kMagic[8] = {'H', 'L', 'C', 'V', 'S', 'T', 'A', 'T'};
constexpr std::uint32_t kFormatVersion = 1;
constexpr char kSettingsTag[4] = {'S', 'E', 'T', 'S'};
constexpr char kTargetTag[4] = {'T', 'R', 'G', 'T'};
constexpr std::size_t kMaxConversionTables = 256 * kConversionBlocksPerTable;

class Writer {
public:
    void u8(std::uint8_t v) { bytes_.push_back(v); }
    void u16(std::uint16_t v) { bytes_.push_back(static_cast<std::uint8_t>(v)), bytes_.push_back(static_cast<std::uint8_t>(v >> 8)); }
    void u32(std::uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
    void raw(std::span<const std::uint8_t> b) { bytes_.insert(bytes_.end(), b.begin(), b.end()); }
    void tag(const char (&t)[4]) { raw(std::span(reinterpret_cast<const std::uint8_t*>(t), 4)); }
    std::size_t size() const { return bytes_.size(); }
    void patch32(std::size_t at, std::uint32_t v) { firmware::writeLe32(bytes_, at, v); }
    std::vector<std::uint8_t>& bytes() { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
};

// Reads fields in order; once anything is missing, every later read fails too.
class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    bool ok() const { return ok_; }
    bool atEnd() const { return at_ == bytes_.size(); }
    std::span<const std::uint8_t> take(std::size_t n) {
        if (!ok_ || bytes_.size() - at_ < n) {
            ok_ = false;
            return {};
        }
        auto part = bytes_.subspan(at_, n);
        at_ += n;
        return part;
    }
    std::uint8_t u8() { auto b = take(1); return b.empty() ? 0 : b[0]; }
    std::uint16_t u16() { auto b = take(2); return b.empty() ? 0 : firmware::readLe16(b, 0); }
    std::uint32_t u32() { auto b = take(4); return b.empty() ? 0 : firmware::readLe32(b, 0); }
    template <typename Array>
    void into(Array& array) {
        auto b = take(array.size());
        if (!b.empty()) std::copy(b.begin(), b.end(), array.begin());
    }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t at_ = 0;
    bool ok_ = true;
};

void writeSettings(Writer& w, const ControllerSettings& s) {
    w.u8(s.currentProfile);
    for (const auto& p : s.profiles) {
        w.raw(p.block);
        w.raw(p.activeEffect);
        w.raw(p.effectList);
        for (const auto& layer : p.effectParams)
            for (const auto& entry : layer) w.raw(entry);
        w.u8(p.colorMode);
        w.raw(p.layerMap);
        for (const auto& page : p.ledColors) w.raw(page);
    }
    w.raw(s.pwmConfig);
    w.u32(static_cast<std::uint32_t>(s.conversionTables.size()));
    for (const auto& [index, table] : s.conversionTables) {
        w.u16(index);
        w.raw(table);
    }
}

std::optional<ControllerSettings> readSettings(Reader& r) {
    ControllerSettings s;
    s.currentProfile = r.u8();
    for (auto& p : s.profiles) {
        r.into(p.block);
        r.into(p.activeEffect);
        r.into(p.effectList);
        for (auto& layer : p.effectParams)
            for (auto& entry : layer) r.into(entry);
        p.colorMode = r.u8();
        r.into(p.layerMap);
        for (auto& page : p.ledColors) r.into(page);
    }
    r.into(s.pwmConfig);
    const std::uint32_t tables = r.u32();
    if (!r.ok() || tables > kMaxConversionTables || s.currentProfile >= kProfileCount) return std::nullopt;
    for (std::uint32_t i = 0; i < tables; ++i) {
        const std::uint16_t index = r.u16();
        r.into(s.conversionTables[index]);
    }
    if (!r.ok() || !r.atEnd()) return std::nullopt;
    return s;
}

}  // namespace

std::vector<std::uint8_t> encodeState(const ControllerSettings& settings, const std::vector<Target>& targets) {
    Writer w;
    w.raw(std::span(reinterpret_cast<const std::uint8_t*>(kMagic), sizeof kMagic));
    w.u32(kFormatVersion);
    w.u32(static_cast<std::uint32_t>(1 + targets.size()));
    w.tag(kSettingsTag);
    const std::size_t lengthAt = w.size();
    w.u32(0);
    writeSettings(w, settings);
    w.patch32(lengthAt, static_cast<std::uint32_t>(w.size() - lengthAt - 4));
    for (const auto& target : targets) {
        w.tag(kTargetTag);
        w.u32(static_cast<std::uint32_t>(firmware::kRecordBytes + 4 + target.flash.size()));
        w.raw(target.fwInfoRecord());
        w.u32(target.flash.size());
        w.raw(target.flash.bytes());
    }
    return std::move(w.bytes());
}

std::optional<SavedState> decodeState(std::span<const std::uint8_t> bytes) {
    Reader r(bytes);
    const auto magic = r.take(sizeof kMagic);
    if (!r.ok() || std::memcmp(magic.data(), kMagic, sizeof kMagic) != 0) return std::nullopt;
    if (r.u32() != kFormatVersion) return std::nullopt;
    const std::uint32_t sections = r.u32();
    SavedState state;
    bool haveSettings = false;
    for (std::uint32_t i = 0; i < sections && r.ok(); ++i) {
        const auto tag = r.take(4);
        const std::uint32_t length = r.u32();
        const auto payload = r.take(length);
        if (!r.ok()) return std::nullopt;
        Reader section(payload);
        if (std::memcmp(tag.data(), kSettingsTag, 4) == 0) {
            auto settings = readSettings(section);
            if (!settings) return std::nullopt;
            state.settings = std::move(*settings);
            haveSettings = true;
        } else if (std::memcmp(tag.data(), kTargetTag, 4) == 0) {
            SavedFlash flash;
            section.into(flash.fwInfo);
            const std::uint32_t size = section.u32();
            const auto content = section.take(size);
            if (!section.ok() || !section.atEnd()) return std::nullopt;
            flash.bytes.assign(content.begin(), content.end());
            state.flashes.push_back(std::move(flash));
        }
        // Sections of other kinds come from a newer writer; they are skipped.
    }
    if (!r.ok() || !r.atEnd() || !haveSettings) return std::nullopt;
    return state;
}

std::optional<std::string> saveStateFile(const std::string& path, const ControllerSettings& settings,
                                         const std::vector<Target>& targets) {
    const auto bytes = encodeState(settings, targets);
    const std::string temporary = path + ".writing";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return "cannot write " + temporary + ": " + std::strerror(errno);
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
    }
    const bool written = done == bytes.size() && ::fsync(fd) == 0;
    const int savedErrno = errno;
    ::close(fd);
    if (!written || std::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return "cannot write " + path + ": " + std::strerror(written ? errno : savedErrno);
    }
    return std::nullopt;
}

LoadResult loadStateFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return {LoadStatus::Missing, std::nullopt, {}};
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    file.close();
    if (auto state = decodeState(bytes)) return {LoadStatus::Loaded, std::move(state), {}};
    std::error_code ignored;
    std::filesystem::rename(path, path + ".bad", ignored);
    return {LoadStatus::Unreadable, std::nullopt,
            "state file " + path + " is not readable; kept as " + path + ".bad, starting fresh"};
}

int claimStateFile(const std::string& path) {
    const std::string lockPath = path + ".lock";
    const int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return -2;
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR) continue;
        const bool held = errno == EWOULDBLOCK;
        ::close(fd);
        return held ? -1 : -2;
    }
    return fd;
}

std::vector<std::size_t> restoreFlash(std::vector<Target>& targets, const std::vector<SavedFlash>& saved) {
    std::vector<std::size_t> fresh;
    for (std::size_t i = 0; i < targets.size(); ++i) {
        Target& target = targets[i];
        const bool fits = i < saved.size() && saved[i].fwInfo == target.fwInfoRecord() &&
                          saved[i].bytes.size() == target.flash.size();
        if (fits) {
            target.flash.load(0, saved[i].bytes);
        } else {
            target.programFresh();
            fresh.push_back(i);
        }
    }
    return fresh;
}

}  // namespace simulator
