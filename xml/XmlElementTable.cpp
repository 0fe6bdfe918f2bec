#include "XmlElementTable.h"

#include <algorithm>
#include <cstring>

namespace xml {

void XmlElementTable::AddSegment(uint32_t records) {
    // The segment pointer table grows to 2n + 4 entries whenever segment n does not fit.
    if (segments_.size() == segments_.capacity()) {
        segments_.reserve(2 * segments_.size() + 4);
    }
    // Records are left uninitialised: Allocate clears each one as it hands it out.
    segments_.emplace_back(new XmlElementRecord[records]);
    lastSegmentSize_ = records;
    capacity_ = static_cast<uint32_t>((segments_.size() - 1) * kSegmentRecords) + records;
}

void XmlElementTable::ResizeLastSegment(uint32_t records) {
    std::unique_ptr<XmlElementRecord[]> block(new XmlElementRecord[records]);
    std::memcpy(block.get(), segments_.back().get(), sizeof(XmlElementRecord) * std::min(records, lastSegmentSize_));
    segments_.back() = std::move(block);
    lastSegmentSize_ = records;
    capacity_ = static_cast<uint32_t>((segments_.size() - 1) * kSegmentRecords) + records;
}

void XmlElementTable::Grow(uint32_t newCapacity) {
    while (capacity_ < newCapacity) {
        if (segments_.empty()) {
            AddSegment(std::min(newCapacity, kSegmentRecords));
            continue;
        }
        const uint64_t lastEnd = uint64_t(segments_.size()) * kSegmentRecords;
        if (newCapacity <= lastEnd) {
            ResizeLastSegment(newCapacity - static_cast<uint32_t>(lastEnd - kSegmentRecords));
        } else {
            if (lastSegmentSize_ < kSegmentRecords) {
                ResizeLastSegment(kSegmentRecords);
            }
            const uint64_t wanted = uint64_t(newCapacity) - lastEnd;
            AddSegment(static_cast<uint32_t>(std::min<uint64_t>(wanted, kSegmentRecords)));
        }
    }
}

void XmlElementTable::Reserve(uint32_t records) {
    if (records > capacity_) {
        Grow(records);
    }
}

void XmlElementTable::Reset() {
    if (capacity_ == 0) {
        Grow(8);
    }
    (*this)[0] = XmlElementRecord{};
    freeIndex_ = 1;
    longStartTags_.clear();
    longEndTags_.clear();
}

void XmlElementTable::GrowForAllocate() {
    const uint64_t byHalf = std::max<uint64_t>(uint64_t(freeIndex_) + freeIndex_ / 2, uint64_t(freeIndex_) + 1);
    const uint64_t limit = (uint64_t(segments_.size()) + 1) * kSegmentRecords;
    Grow(static_cast<uint32_t>(std::min(byHalf, limit)));
}

void XmlElementTable::SetLongTagLengths(uint32_t index, uint32_t startTagLength, uint32_t endTagLength) {
    const uint32_t startField = std::min(startTagLength, kMaxStartTagField);
    const uint32_t endField = std::min(endTagLength, kMaxEndTagField);
    (*this)[index].tagLengths = startField | (endField << 22);
    if (startField == kMaxStartTagField) {
        longStartTags_[index] = startTagLength;
    }
    if (endField == kMaxEndTagField) {
        longEndTags_[index] = endTagLength;
    } else {
        longEndTags_.erase(index);
    }
}

uint32_t XmlElementTable::LongTagLength(const std::unordered_map<uint32_t, uint32_t>& lengths, uint32_t index,
                                        uint32_t field) {
    auto it = lengths.find(index);
    return it != lengths.end() ? it->second : field;
}

uint32_t XmlElementTable::SegmentSize(std::size_t segment) const {
    if (segment + 1 < segments_.size()) return kSegmentRecords;
    return segment + 1 == segments_.size() ? lastSegmentSize_ : 0;
}

std::size_t XmlElementTable::MemoryBytes() const {
    return std::size_t(capacity_) * sizeof(XmlElementRecord) + segments_.capacity() * sizeof(void*);
}

}  // namespace xml
