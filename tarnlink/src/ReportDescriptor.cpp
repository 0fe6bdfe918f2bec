#include "tarnlink/ReportDescriptor.h"

#include <algorithm>

namespace tarnlink {
namespace {

// Item types and tags of the short-item encoding (HID 1.11, 6.2.2).
enum ItemType : std::uint8_t { Main = 0, Global = 1, Local = 2, Reserved = 3 };
enum MainTag : std::uint8_t { InputTag = 0x8, OutputTag = 0x9, CollectionTag = 0xA, FeatureTag = 0xB,
                              EndCollectionTag = 0xC };
enum GlobalTag : std::uint8_t { UsagePageTag = 0x0, ReportSizeTag = 0x7, ReportIdTag = 0x8,
                                ReportCountTag = 0x9, PushTag = 0xA, PopTag = 0xB };
enum LocalTag : std::uint8_t { UsageTag = 0x0, UsageMinimumTag = 0x1 };
constexpr std::uint8_t kLongItemPrefix = 0xFE;

// Bounds against hostile descriptors; real devices stay far below them.
constexpr std::size_t kMaxPushDepth = 16;
constexpr std::size_t kMaxCollectionDepth = 64;
constexpr std::uint32_t kMaxReportSize = 256;
constexpr std::uint32_t kMaxReportCount = 12288;

struct GlobalState {
    std::uint16_t usagePage = 0;
    std::uint32_t reportSize = 0;
    std::uint32_t reportCount = 0;
    std::uint8_t reportId = 0;
};

struct LocalState {
    bool hasUsage = false;
    std::uint32_t firstUsage = 0;
    bool firstUsageExtended = false;  // a 4-byte usage carries its own page in the high half
};

class Parser {
public:
    std::optional<ReportCapabilities> run(std::span<const std::uint8_t> d) {
        std::size_t pos = 0;
        while (pos < d.size()) {
            const std::uint8_t prefix = d[pos++];
            if (prefix == kLongItemPrefix) {
                if (d.size() - pos < 2) return std::nullopt;
                const std::size_t size = d[pos];
                pos += 2;
                if (d.size() - pos < size) return std::nullopt;
                pos += size;  // long items carry no data the library uses
                continue;
            }
            static constexpr std::size_t kSizes[4] = {0, 1, 2, 4};
            const std::size_t size = kSizes[prefix & 3];
            if (d.size() - pos < size) return std::nullopt;
            std::uint32_t value = 0;
            for (std::size_t i = 0; i < size; ++i) value |= std::uint32_t{d[pos + i]} << (8 * i);
            pos += size;
            const auto type = static_cast<ItemType>((prefix >> 2) & 3);
            const std::uint8_t tag = prefix >> 4;
            bool ok = true;
            switch (type) {
            case Main: ok = mainItem(tag, value); break;
            case Global: ok = globalItem(tag, value); break;
            case Local: localItem(tag, value, size); break;
            case Reserved: ok = false; break;
            }
            if (!ok) return std::nullopt;
        }
        if (depth_ != 0 || caps_.topLevelCollections.empty()) return std::nullopt;
        if (caps_.numbered && std::any_of(caps_.reports.begin(), caps_.reports.end(),
                                          [](const ReportLayout& r) { return r.id == 0; }))
            return std::nullopt;  // data items before the first report id in a numbered descriptor
        caps_.firstOutputReportId = firstOutputButton_ ? firstOutputButton_ : firstOutputValue_;
        for (const auto& first : collectionFirstOutput_)
            caps_.collectionFirstOutputReportIds.push_back(first.button ? first.button : first.value);
        return std::move(caps_);
    }

private:
    bool mainItem(std::uint8_t tag, std::uint32_t value) {
        bool ok = true;
        switch (tag) {
        case InputTag: ok = dataItem(ReportType::Input, value); break;
        case OutputTag: ok = dataItem(ReportType::Output, value); break;
        case FeatureTag: ok = dataItem(ReportType::Feature, value); break;
        case CollectionTag:
            if (depth_ == kMaxCollectionDepth) return false;
            if (depth_ == 0) {
                caps_.topLevelCollections.push_back(collectionUsage());
                collectionFirstOutput_.emplace_back();
                caps_.collectionInputReportIds.emplace_back();
            }
            ++depth_;
            break;
        case EndCollectionTag:
            if (depth_ == 0) return false;
            --depth_;
            break;
        default: break;
        }
        local_ = {};
        return ok;
    }

    UsagePair collectionUsage() const {
        if (!local_.hasUsage) return {global_.usagePage, 0};
        if (local_.firstUsageExtended)
            return {static_cast<std::uint16_t>(local_.firstUsage >> 16),
                    static_cast<std::uint16_t>(local_.firstUsage & 0xFFFF)};
        return {global_.usagePage, static_cast<std::uint16_t>(local_.firstUsage)};
    }

    bool dataItem(ReportType type, std::uint32_t flags) {
        const std::uint64_t bits = std::uint64_t{global_.reportSize} * global_.reportCount;
        auto it = std::find_if(caps_.reports.begin(), caps_.reports.end(), [&](const ReportLayout& r) {
            return r.type == type && r.id == global_.reportId;
        });
        if (it == caps_.reports.end()) it = caps_.reports.insert(caps_.reports.end(), {type, global_.reportId, 0});
        if (it->bits + bits > std::uint64_t{kMaxReportDataBytes} * 8) return false;
        it->bits += static_cast<std::uint32_t>(bits);

        if (type == ReportType::Input && depth_ > 0) {
            auto& ids = caps_.collectionInputReportIds.back();
            if (std::find(ids.begin(), ids.end(), global_.reportId) == ids.end()) ids.push_back(global_.reportId);
        }
        const bool constant = flags & 1;
        if (type != ReportType::Output || constant || bits == 0) return true;
        // The HID capabilities treat arrays and one-bit variables as buttons, the rest as values.
        const bool variable = flags & 2;
        const bool button = !variable || global_.reportSize == 1;
        auto& first = button ? firstOutputButton_ : firstOutputValue_;
        if (!first) first = global_.reportId;
        if (depth_ > 0) {
            auto& inCollection = collectionFirstOutput_.back();
            auto& firstInCollection = button ? inCollection.button : inCollection.value;
            if (!firstInCollection) firstInCollection = global_.reportId;
        }
        return true;
    }

    bool globalItem(std::uint8_t tag, std::uint32_t value) {
        switch (tag) {
        case UsagePageTag: global_.usagePage = static_cast<std::uint16_t>(value); break;
        case ReportSizeTag:
            if (value > kMaxReportSize) return false;
            global_.reportSize = value;
            break;
        case ReportCountTag:
            if (value > kMaxReportCount) return false;
            global_.reportCount = value;
            break;
        case ReportIdTag:
            if (value == 0 || value > 0xFF) return false;
            global_.reportId = static_cast<std::uint8_t>(value);
            caps_.numbered = true;
            break;
        case PushTag:
            if (stack_.size() == kMaxPushDepth) return false;
            stack_.push_back(global_);
            break;
        case PopTag:
            if (stack_.empty()) return false;
            global_ = stack_.back();
            stack_.pop_back();
            break;
        default: break;  // logical and physical ranges, units: not needed
        }
        return true;
    }

    void localItem(std::uint8_t tag, std::uint32_t value, std::size_t size) {
        if ((tag != UsageTag && tag != UsageMinimumTag) || local_.hasUsage) return;
        local_.hasUsage = true;
        local_.firstUsage = value;
        local_.firstUsageExtended = size == 4;
    }

    ReportCapabilities caps_;
    GlobalState global_;
    LocalState local_;
    std::vector<GlobalState> stack_;
    std::size_t depth_ = 0;
    std::optional<std::uint8_t> firstOutputButton_;
    std::optional<std::uint8_t> firstOutputValue_;
    struct FirstOutput {
        std::optional<std::uint8_t> button;
        std::optional<std::uint8_t> value;
    };
    std::vector<FirstOutput> collectionFirstOutput_;  // one per top-level collection
};

}  // namespace

std::uint16_t ReportCapabilities::byteLength(ReportType type) const {
    std::uint32_t longest = 0;
    bool any = false;
    for (const auto& r : reports) {
        if (r.type != type) continue;
        any = true;
        longest = std::max(longest, (r.bits + 7) / 8);
    }
    return any ? static_cast<std::uint16_t>(longest + 1) : 0;
}

std::optional<std::uint16_t> ReportCapabilities::dataLength(ReportType type, std::uint8_t id) const {
    for (const auto& r : reports)
        if (r.type == type && r.id == id) return static_cast<std::uint16_t>((r.bits + 7) / 8);
    return std::nullopt;
}

std::vector<std::uint8_t> ReportCapabilities::reportIds(ReportType type) const {
    std::vector<std::uint8_t> ids;
    for (const auto& r : reports)
        if (r.type == type) ids.push_back(r.id);
    std::sort(ids.begin(), ids.end());
    return ids;
}

std::optional<std::size_t> ReportCapabilities::collectionIndex(UsagePair collection) const {
    const std::size_t known = std::min(collectionFirstOutputReportIds.size(), collectionInputReportIds.size());
    for (std::size_t i = 0; i < topLevelCollections.size() && i < known; ++i)
        if (topLevelCollections[i] == collection) return i;
    return std::nullopt;
}

std::optional<std::uint8_t> ReportCapabilities::firstOutputReportIdOf(UsagePair collection) const {
    const auto index = collectionIndex(collection);
    return index ? collectionFirstOutputReportIds[*index] : std::nullopt;
}

bool ReportCapabilities::hasInputReport(UsagePair collection, std::uint8_t id) const {
    const auto index = collectionIndex(collection);
    if (!index) return false;
    const auto& ids = collectionInputReportIds[*index];
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

std::uint16_t ReportCapabilities::inputByteLengthOf(UsagePair collection) const {
    const auto index = collectionIndex(collection);
    if (!index) return 0;
    std::uint16_t longest = 0;
    for (const auto id : collectionInputReportIds[*index])
        longest = std::max<std::uint16_t>(longest, static_cast<std::uint16_t>(*dataLength(ReportType::Input, id) + 1));
    return longest;
}

std::optional<ReportCapabilities> parseReportDescriptor(std::span<const std::uint8_t> descriptor) {
    if (descriptor.size() > kMaxDescriptorBytes) return std::nullopt;
    return Parser{}.run(descriptor);
}

}  // namespace tarnlink
