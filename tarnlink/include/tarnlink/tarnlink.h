/* Tarnlink: access to the lighting controller's HID interface.
 *
 * Five independent instance slots (0-4). A slot is created by the first operation that names it, finds
 * devices that match its filter on every bus (hidraw and the virtual bus), runs one reader thread per
 * open device that hands each input report to the report callback, writes output reports, and tells its
 * client of every arrival, removal, suspend and resume through a notice function.
 *
 * C interface; the shared library also exports an ordinal table (see TarnGetProcByOrdinal). */
#ifndef TARNLINK_TARNLINK_H
#define TARNLINK_TARNLINK_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(TARNLINK_BUILDING)
#define TARNLINK_API __attribute__((visibility("default")))
#else
#define TARNLINK_API
#endif

enum { TARN_SLOT_COUNT = 5, TARN_FILTER_PAIRS = 10, TARN_REPORT_BUFFER_SIZE = 1000 };

/* Accepted top-level collection of a filter. */
typedef struct TarnUsagePair {
    uint32_t usage;
    uint32_t usagePage;
} TarnUsagePair;

/* A device matches when vendor and product ids are equal and its top-level usage page and usage equal
 * one of the first pairCount pairs. A pairCount of 0 matches nothing. */
typedef struct TarnDeviceFilter {
    uint32_t vendorId;
    uint32_t productId;
    uint32_t pairCount;
    TarnUsagePair pairs[TARN_FILTER_PAIRS];
} TarnDeviceFilter;

/* The 16-byte record of every notice. event 1: device added; event 0: device removed, or, with every
 * other field 0, no matching device present. */
typedef struct _DEVICE_STATE {
    int32_t event;
    uint16_t deviceNumber;
    uint16_t vendorId;
    uint16_t productId;
    uint16_t usage;
    uint16_t usagePage;
    uint16_t reserved;
} _DEVICE_STATE;

enum { TARN_EVENT_REMOVED = 0, TARN_EVENT_ADDED = 1 };

/* Receives every notice of a slot, synchronously: the sender waits until it returns. state is valid only
 * during the call. message is the number given to TarnOpen, wParam is always 1. Runs on the thread that
 * called TarnOpen (for its enumeration) or on the slot's watcher thread; it may call TarnWrite but must not
 * call TarnOpen or TarnClose. */
typedef void (*TarnNoticeFunction)(void* context, uint32_t message, uintptr_t wParam,
                                   const _DEVICE_STATE* state);

/* Receives each input report on the device's reader thread: byte 0 is the report id (0 for a device
 * without report ids), the data follows; length is the device's input report byte length. The bytes lie in
 * a 1000-byte buffer that is valid only during the call. It may call TarnWrite but must not call TarnOpen
 * or TarnClose (closing waits for this very thread). */
typedef void (*TarnReportCallback)(int32_t deviceNumber, const uint8_t* report, int32_t length);

/* Starts the slot's watcher and enumerates. Returns 0 when the slot cannot be started or no matching
 * device is present (after an all-zero notice), otherwise the slot's next device number. */
TARNLINK_API int32_t TarnOpen(TarnNoticeFunction notice, void* context, uint32_t message, int32_t slot);
/* Stops the slot's watcher and readers and frees the slot, without notices. */
TARNLINK_API void TarnClose(int32_t slot);
/* Copies the filter into the slot; used at the next match. A null filter clears it. */
TARNLINK_API int32_t TarnSetFilter(const TarnDeviceFilter* filter, int32_t slot);
/* Stores the callback (null allowed); devices take it when they are added. */
TARNLINK_API int32_t TarnSetReportCallback(TarnReportCallback callback, int32_t slot);
/* Writes one output report: byte 0 the report id of the device's first output item, then length data
 * bytes, zero-filled to the output report length. Nonzero on success, 0 on failure. */
TARNLINK_API int32_t TarnWrite(int32_t deviceNumber, const void* data, int32_t length, int32_t slot);
/* Release number of the slot's lowest-numbered open device; 0 when it has none. */
TARNLINK_API uint16_t TarnGetVersion(int32_t slot);
/* Where an open device of the slot lives on its bus (a hidraw node such as "/dev/hidraw3", or a socket of
 * the virtual bus): copied with its terminating zero into buffer. Returns the path's length without the
 * zero, or 0 when the slot has no such device or the buffer is too small. Not in the ordinal table. */
TARNLINK_API int32_t TarnGetDevicePath(int32_t deviceNumber, char* buffer, int32_t size, int32_t slot);

/* Ordinal table of the shared library: ordinal 2 TarnOpen, 3 TarnClose, 4 TarnSetFilter,
 * 5 TarnSetReportCallback, 6 TarnWrite, 13 TarnGetVersion. */
typedef struct TarnOrdinalEntry {
    uint32_t ordinal;
    const char* name;
    void (*function)(void);
} TarnOrdinalEntry;

TARNLINK_API extern const TarnOrdinalEntry TarnOrdinalTable[];
TARNLINK_API extern const size_t TarnOrdinalCount;
/* The function exported under an ordinal, or null. Cast it to the operation's type. */
TARNLINK_API void (*TarnGetProcByOrdinal(uint32_t ordinal))(void);

#ifdef __cplusplus
}

static_assert(sizeof(_DEVICE_STATE) == 16, "_DEVICE_STATE is a 16-byte record");
static_assert(sizeof(TarnDeviceFilter) == 23 * 4, "TarnDeviceFilter holds 23 32-bit fields");
#else
_Static_assert(sizeof(_DEVICE_STATE) == 16, "_DEVICE_STATE is a 16-byte record");
#endif

#endif
