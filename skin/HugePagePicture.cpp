#include "HugePagePicture.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <limits>

namespace skin {

namespace {

struct Mapping {
    void* start;
    size_t length;
};

void Unmap(void* info) {
    const auto* mapping = static_cast<Mapping*>(info);
    ::munmap(mapping->start, mapping->length);
    delete mapping;
}

// `length` bytes mapped from a huge page boundary, or null. The mapping asked for is larger by a huge page
// so that such a boundary lies in it; what lies before and after the picture's bytes is unmapped at once.
void* MapFromHugePageBoundary(size_t length) {
    const auto huge = static_cast<size_t>(kHugePageBytes);
    if (length > std::numeric_limits<size_t>::max() - huge) return nullptr;
    const size_t asked = length + huge;
    void* mapped = ::mmap(nullptr, asked, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) return nullptr;
    const auto base = reinterpret_cast<std::uintptr_t>(mapped);
    const std::uintptr_t start = (base + huge - 1) & ~(std::uintptr_t{huge} - 1);
    if (start > base) ::munmap(mapped, start - base);
    const std::uintptr_t end = start + length;
    const size_t pageSize = static_cast<size_t>(::sysconf(_SC_PAGESIZE));
    const std::uintptr_t mappedEnd = base + asked;
    const std::uintptr_t tail = (end + pageSize - 1) & ~(std::uintptr_t{pageSize} - 1);
    if (mappedEnd > tail) ::munmap(reinterpret_cast<void*>(tail), mappedEnd - tail);
    // Only whole huge pages inside the picture: one at the end would be filled beyond the pixels.
    const size_t advised = length / huge * huge;
    ::madvise(reinterpret_cast<void*>(start), advised, MADV_HUGEPAGE);
    return reinterpret_cast<void*>(start);
}

}  // namespace

QImage NewPictureOnHugePages(const QSize& size, QImage::Format format) {
    if (size.isEmpty()) return QImage();
    if (QImage::toPixelFormat(format).bitsPerPixel() != 32) return QImage(size, format);
    const qsizetype bytesPerLine = qsizetype{size.width()} * 4;
    if (size.height() > std::numeric_limits<qsizetype>::max() / bytesPerLine) return QImage();
    const qsizetype bytes = bytesPerLine * size.height();
    if (bytes < kHugePageBytes) return QImage(size, format);
    void* start = MapFromHugePageBoundary(static_cast<size_t>(bytes));
    if (start == nullptr) return QImage(size, format);
    auto* mapping = new Mapping{start, static_cast<size_t>(bytes)};
    QImage picture(static_cast<uchar*>(start), size.width(), size.height(), bytesPerLine, format, Unmap, mapping);
    if (picture.isNull()) Unmap(mapping);
    return picture;
}

}  // namespace skin
