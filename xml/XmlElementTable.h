// The element table: one 32-byte record per element, stored in segments of 65,536 records that
// never move once full, so record indexes (and the full segments) stay valid while the table grows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

namespace xml {

// Flags in the high bits of XmlElementRecord::flagsAndLevel (the level is the low 16 bits).
enum XmlElementFlags : uint32_t {
    kElementFirstChild = 0x80000,
    kElementNotEnded = 0x100000,
    kElementBadMarkup = 0x200000,
    kDocumentIllFormed = 0x800000,  // on record 0 only
};

struct XmlElementRecord {
    uint32_t start;            // offset of the start tag's '<'
    uint32_t length;           // whole element; the start-tag length when it has no end tag
    uint32_t tagLengths;       // start-tag length in the low 22 bits, end-tag length in the high 10
    uint32_t flagsAndLevel;    // nesting level in the low 16 bits, XmlElementFlags above
    uint32_t parent;           // 0 for the root
    uint32_t firstChild;       // 0 when none
    uint32_t nextSibling;      // 0 for the last child
    uint32_t previousSibling;  // for a first child: the parent's LAST child

    uint32_t Level() const { return flagsAndLevel & 0xFFFF; }
    bool Has(uint32_t flag) const { return (flagsAndLevel & flag) != 0; }
};
static_assert(sizeof(XmlElementRecord) == 32, "an element record is eight 32-bit fields");

class XmlElementTable {
public:
    static constexpr uint32_t kSegmentRecords = 65536;
    static constexpr uint32_t kSegmentShift = 16;
    static constexpr uint32_t kMaxStartTagField = (1u << 22) - 1;
    static constexpr uint32_t kMaxEndTagField = (1u << 10) - 1;
    // Longest text the 32-bit offsets of the table are allowed to index.
    static constexpr std::size_t kMaxTextUnits = std::size_t(1) << 30;

    // Makes room for at least `records` records without moving existing ones.
    void Reserve(uint32_t records);
    // Empties the table: record 0 cleared, next free index 1. Keeps the storage.
    void Reset();
    // Takes the next free record (growing the table when it is full) and returns its index, cleared.
    // Inline: the parse takes one per element.
    uint32_t Allocate() {
        if (freeIndex_ >= capacity_) GrowForAllocate();
        const uint32_t index = freeIndex_++;
        (*this)[index] = XmlElementRecord{};
        return index;
    }

    XmlElementRecord& operator[](uint32_t index) {
        return segments_[index >> kSegmentShift][index & (kSegmentRecords - 1)];
    }
    const XmlElementRecord& operator[](uint32_t index) const {
        return segments_[index >> kSegmentShift][index & (kSegmentRecords - 1)];
    }

    // Tag lengths. The packed fields hold 22 and 10 bits; a longer tag stores the field's maximum and
    // keeps its exact length on the side, so reads of such an element stay exact.
    void SetTagLengths(uint32_t index, uint32_t startTagLength, uint32_t endTagLength) {
        if (startTagLength < kMaxStartTagField && endTagLength < kMaxEndTagField && longEndTags_.empty()) {
            (*this)[index].tagLengths = startTagLength | (endTagLength << 22);
        } else {
            SetLongTagLengths(index, startTagLength, endTagLength);
        }
    }
    // Sets the end-tag length of a record whose end tag is not set yet.
    void SetEndTagLength(uint32_t index, uint32_t endTagLength) {
        uint32_t& field = (*this)[index].tagLengths;
        if (endTagLength < kMaxEndTagField && field < kMaxStartTagField) {
            field |= endTagLength << 22;
        } else {
            SetLongTagLengths(index, StartTagLength(index), endTagLength);
        }
    }
    uint32_t StartTagLength(uint32_t index) const {
        const uint32_t field = (*this)[index].tagLengths & kMaxStartTagField;
        return field == kMaxStartTagField ? LongTagLength(longStartTags_, index, field) : field;
    }
    uint32_t EndTagLength(uint32_t index) const {
        const uint32_t field = (*this)[index].tagLengths >> 22;
        return field == kMaxEndTagField ? LongTagLength(longEndTags_, index, field) : field;
    }

    uint32_t FreeIndex() const { return freeIndex_; }
    uint32_t Capacity() const { return capacity_; }
    std::size_t SegmentCount() const { return segments_.size(); }
    // Number of records the segment holds (only the last one may hold fewer than 65,536).
    uint32_t SegmentSize(std::size_t segment) const;
    // Bytes held by the records and the pointer table.
    std::size_t MemoryBytes() const;

private:
    void SetLongTagLengths(uint32_t index, uint32_t startTagLength, uint32_t endTagLength);
    static uint32_t LongTagLength(const std::unordered_map<uint32_t, uint32_t>& lengths, uint32_t index,
                                  uint32_t field);
    void Grow(uint32_t newCapacity);
    // Grows a full table by half, but never past the end of the segment after the current last one.
    void GrowForAllocate();
    void ResizeLastSegment(uint32_t records);
    void AddSegment(uint32_t records);

    std::vector<std::unique_ptr<XmlElementRecord[]>> segments_;
    uint32_t lastSegmentSize_ = 0;
    uint32_t capacity_ = 0;
    uint32_t freeIndex_ = 1;
    std::unordered_map<uint32_t, uint32_t> longStartTags_;
    std::unordered_map<uint32_t, uint32_t> longEndTags_;
};

}  // namespace xml
