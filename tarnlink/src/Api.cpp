// The C interface and its ordinal table. Slots are created on first use; a slot number outside 0-4
// creates nothing, and the operation reports failure (0) or does nothing.
#include "Slot.h"
#include "tarnlink/tarnlink.h"

#include <array>
#include <cstring>
#include <memory>
#include <mutex>

namespace {

std::mutex g_tableLock;
std::array<std::shared_ptr<tarnlink::Slot>, TARN_SLOT_COUNT> g_slots;

std::shared_ptr<tarnlink::Slot> findSlot(std::int32_t slot, bool create) {
    if (slot < 0 || slot >= TARN_SLOT_COUNT) return nullptr;
    std::lock_guard lock(g_tableLock);
    auto& entry = g_slots[static_cast<std::size_t>(slot)];
    if (!entry && create) entry = std::make_shared<tarnlink::Slot>();
    return entry;
}

}  // namespace

extern "C" {

int32_t TarnOpen(TarnNoticeFunction notice, void* context, uint32_t message, int32_t slot) {
    const auto s = findSlot(slot, true);
    return s ? s->open(notice, context, message) : 0;
}

void TarnClose(int32_t slot) {
    if (slot < 0 || slot >= TARN_SLOT_COUNT) return;
    std::shared_ptr<tarnlink::Slot> s;
    {
        std::lock_guard lock(g_tableLock);
        s.swap(g_slots[static_cast<std::size_t>(slot)]);
    }
    if (s) s->close();
}

int32_t TarnSetFilter(const TarnDeviceFilter* filter, int32_t slot) {
    const auto s = findSlot(slot, true);
    if (!s) return 0;
    s->setFilter(filter);
    return 1;
}

int32_t TarnSetReportCallback(TarnReportCallback callback, int32_t slot) {
    const auto s = findSlot(slot, true);
    if (!s) return 0;
    s->setCallback(callback);
    return 1;
}

int32_t TarnWrite(int32_t deviceNumber, const void* data, int32_t length, int32_t slot) {
    const auto s = findSlot(slot, true);
    if (!s || deviceNumber <= 0 || length < 0 || (length > 0 && !data)) return 0;
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    return s->write(static_cast<std::uint32_t>(deviceNumber), std::span(bytes, static_cast<std::size_t>(length)))
               ? 1
               : 0;
}

uint16_t TarnGetVersion(int32_t slot) {
    const auto s = findSlot(slot, false);
    return s ? s->version() : 0;
}

int32_t TarnGetDevicePath(int32_t deviceNumber, char* buffer, int32_t size, int32_t slot) {
    const auto s = findSlot(slot, false);
    if (!s || deviceNumber <= 0 || !buffer || size <= 0) return 0;
    const auto path = s->devicePath(static_cast<std::uint32_t>(deviceNumber));
    if (!path || path->size() >= static_cast<std::size_t>(size)) return 0;
    std::memcpy(buffer, path->c_str(), path->size() + 1);
    return static_cast<int32_t>(path->size());
}

#define TARN_ORDINAL(number, function) {number, #function, reinterpret_cast<void (*)(void)>(&function)}
const TarnOrdinalEntry TarnOrdinalTable[] = {
    TARN_ORDINAL(2, TarnOpen),
    TARN_ORDINAL(3, TarnClose),
    TARN_ORDINAL(4, TarnSetFilter),
    TARN_ORDINAL(5, TarnSetReportCallback),
    TARN_ORDINAL(6, TarnWrite),
    TARN_ORDINAL(13, TarnGetVersion),
};
#undef TARN_ORDINAL
const size_t TarnOrdinalCount = sizeof TarnOrdinalTable / sizeof TarnOrdinalTable[0];

void (*TarnGetProcByOrdinal(uint32_t ordinal))(void) {
    for (const auto& entry : TarnOrdinalTable)
        if (entry.ordinal == ordinal) return entry.function;
    return nullptr;
}

}  // extern "C"
