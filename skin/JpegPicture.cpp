#include "JpegPicture.h"

#include "HugePagePicture.h"
#include "SkinPictures.h"

#include <QtGlobal>
#include <QtEndian>

#include <cerrno>
#include <algorithm>
#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE and size_t declared first
#include <cstring>
#include <vector>

#include <jpeglib.h>

#if !defined(JCS_EXTENSIONS)
#error "the JPEG library must decode into 32-bit pixels (libjpeg-turbo's colour space extensions)"
#endif

namespace skin {

namespace {

// QImage::Format_RGB32 holds 0xffRRGGBB in each pixel's native word: blue first in memory on a little
// endian machine. The decoder writes 0xff in the unused byte.
constexpr J_COLOR_SPACE kRgb32Space = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRX : JCS_EXT_XRGB;

// The first bytes of the markers a file keeps its stored orientation and its colour profile in: Qt's
// reader keeps both with the picture it gives (and turns it when asked to), so such files are left to it.
constexpr unsigned kMarkerPrefix = 14;

// One decode. The library reports an error through ErrorExit, which jumps back to the function that set
// `exit`: those functions hold no C++ object with a destructor across the jump, and the caller, which
// does, releases everything after they return.
struct Decoder {
    jpeg_decompress_struct info;
    jpeg_error_mgr errors;
    std::jmp_buf exit;
    bool created;
};

[[noreturn]] void ErrorExit(j_common_ptr info) {
    std::longjmp(static_cast<Decoder*>(info->client_data)->exit, 1);
}

// Warnings (damaged image data the library decodes around) change nothing, as with Qt's reader; they
// are told as Qt's reader tells them.
void OutputMessage(j_common_ptr info) {
    char text[JMSG_LENGTH_MAX];
    (*info->err->format_message)(info, text);
    qWarning("%s", text);
}

// The rows to decode and where they go: the part of the picture at (x, y), `width` x `height` pixels,
// into `height` rows of 32-bit pixels `stride` bytes apart at `bits`. `scratch` holds one whole decoded
// row when only some of the columns are kept. The `gapRows` rows from the part's row `gapFrom` on are
// skipped: their target rows are left as they are.
struct Rows {
    JDIMENSION x;
    JDIMENSION y;
    JDIMENSION width;
    JDIMENSION height;
    unsigned char* bits;
    qsizetype stride;
    unsigned char* scratch;
    JDIMENSION gapFrom;
    JDIMENSION gapRows;
};

// Sets up the decoder on `data` and reads the header. Returns 0 or EINVAL.
int ReadHeader(Decoder* decoder, const unsigned char* data, unsigned long size) {
    if (setjmp(decoder->exit) != 0) return EINVAL;
    decoder->info.err = jpeg_std_error(&decoder->errors);
    decoder->errors.error_exit = ErrorExit;
    decoder->errors.output_message = OutputMessage;
    decoder->info.client_data = decoder;
    jpeg_create_decompress(&decoder->info);
    decoder->created = true;
    jpeg_mem_src(&decoder->info, data, size);
    jpeg_save_markers(&decoder->info, JPEG_APP0 + 1, kMarkerPrefix);
    jpeg_save_markers(&decoder->info, JPEG_APP0 + 2, kMarkerPrefix);
    jpeg_read_header(&decoder->info, TRUE);
    return 0;
}

// Decodes `rows`: skips the rows above them, decodes only the columns around them where the picture's
// blocks allow, and stops after their last row. Returns 0 or EINVAL.
int DecodeRows(Decoder* decoder, const Rows* rows) {
    if (setjmp(decoder->exit) != 0) return EINVAL;
    jpeg_decompress_struct* info = &decoder->info;
    // Qt's reader decodes at its default quality with the exact integer transform and smooth
    // upsampling of the colour channels, the library's own defaults.
    info->out_color_space = kRgb32Space;
    info->dct_method = JDCT_ISLOW;
    info->do_fancy_upsampling = TRUE;
    jpeg_start_decompress(info);
    // Only whole block columns can be cropped to, and the colour channels' smooth upsampling treats the
    // cropped columns' outer edges as the picture's: one block column more on either side keeps the
    // edges of the columns taken out of the row exactly as in the whole picture. A progressive picture
    // whose coefficients are not all sent in full (cut short, or never refined) is smoothed across
    // blocks, and that smoothing treats the cropped columns' left edge as the picture's too: its rows are
    // decoded whole (its scans are read whole in any case).
    const JDIMENSION margin = static_cast<JDIMENSION>(info->max_h_samp_factor * DCTSIZE);
    JDIMENSION left = rows->x > margin ? rows->x - margin : 0;
    JDIMENSION width = qMin(rows->x + rows->width + margin, info->output_width) - left;
    if (info->progressive_mode) {
        left = 0;
        width = info->output_width;
    }
    if (width < info->output_width) jpeg_crop_scanline(info, &left, &width);
    const JDIMENSION skip = rows->x - left;
    const bool direct = skip == 0 && width == rows->width;
    if (rows->y > 0 && jpeg_skip_scanlines(info, rows->y) != rows->y) return EINVAL;
    for (JDIMENSION y = 0; y < rows->height; ++y) {
        if (y == rows->gapFrom && rows->gapRows > 0) {
            // Skipped rows are read but neither transformed nor turned into pixels.
            const JDIMENSION gap = qMin(rows->gapRows, rows->height - y);
            if (jpeg_skip_scanlines(info, gap) != gap) return EINVAL;
            y += gap;
            if (y == rows->height) break;
        }
        unsigned char* target = rows->bits + static_cast<qsizetype>(y) * rows->stride;
        JSAMPROW row = direct ? target : rows->scratch;
        if (jpeg_read_scanlines(info, &row, 1) != 1) return EINVAL;
        if (!direct) std::memcpy(target, rows->scratch + static_cast<size_t>(skip) * 4, static_cast<size_t>(rows->width) * 4);
    }
    if (info->output_scanline == info->output_height) {
        jpeg_finish_decompress(info);
    } else {
        jpeg_abort_decompress(info);
    }
    return 0;
}

bool HasMarker(const jpeg_decompress_struct& info, int code, const char* prefix, unsigned length) {
    for (jpeg_saved_marker_ptr marker = info.marker_list; marker != nullptr; marker = marker->next) {
        if (marker->marker == code && marker->data_length >= length && std::memcmp(marker->data, prefix, length) == 0) {
            return true;
        }
    }
    return false;
}

// Whether the decoder gives the picture's colours exactly as Qt's reader shows them: a grey, YCbCr or
// RGB picture with neither a stored orientation nor a colour profile.
bool DecodedDirectly(const jpeg_decompress_struct& info) {
    const bool plain = (info.jpeg_color_space == JCS_GRAYSCALE && info.num_components == 1) ||
                       ((info.jpeg_color_space == JCS_YCbCr || info.jpeg_color_space == JCS_RGB) && info.num_components == 3);
    return plain && !HasMarker(info, JPEG_APP0 + 1, "Exif\0", 5) && !HasMarker(info, JPEG_APP0 + 2, "ICC_PROFILE\0", 12);
}

// The rows of a decode: all of the part's rows, or with a valid `gap` all but the gap's.
struct RowGap {
    int from = 0;
    int count = 0;
};

int Decode(Decoder& decoder, const QByteArray& bytes, const QRect& clip, const RowGap& gap, QImage& picture,
           QRect& part, QSize& whole) {
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
    if (ReadHeader(&decoder, data, static_cast<unsigned long>(bytes.size())) != 0) return EINVAL;
    const jpeg_decompress_struct& info = decoder.info;
    const QSize size(static_cast<int>(qMin<JDIMENSION>(info.image_width, INT_MAX)),
                     static_cast<int>(qMin<JDIMENSION>(info.image_height, INT_MAX)));
    if (!IsAllowedPictureSize(size)) return size.isEmpty() ? EINVAL : EFBIG;
    const QRect inside = clip.isValid() ? clip.intersected(QRect(QPoint(0, 0), size)) : QRect(QPoint(0, 0), size);
    if (inside.isEmpty()) return EINVAL;
    if (!DecodedDirectly(info)) return ENOTSUP;
    QImage decoded = NewPictureOnHugePages(inside.size(), QImage::Format_RGB32);
    if (decoded.isNull()) return EINVAL;
    const bool allColumns = inside.width() == size.width();
    std::vector<unsigned char> scratch(allColumns ? 0 : static_cast<size_t>(size.width()) * 4);
    const Rows rows{static_cast<JDIMENSION>(inside.x()), static_cast<JDIMENSION>(inside.y()),
                    static_cast<JDIMENSION>(inside.width()), static_cast<JDIMENSION>(inside.height()),
                    decoded.bits(), decoded.bytesPerLine(), scratch.data(),
                    static_cast<JDIMENSION>(gap.from), static_cast<JDIMENSION>(gap.count)};
    if (DecodeRows(&decoder, &rows) != 0) return EINVAL;
    picture = std::move(decoded);
    part = inside;
    whole = size;
    return 0;
}

}  // namespace

bool IsJpegData(const QByteArray& bytes) {
    return bytes.size() >= 3 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
           static_cast<unsigned char>(bytes[1]) == 0xD8 && static_cast<unsigned char>(bytes[2]) == 0xFF;
}

int DecodeJpegPicture(const QByteArray& bytes, const QRect& clip, QImage& picture, QRect& part, QSize& whole) {
    Decoder decoder{};
    const int result = Decode(decoder, bytes, clip, RowGap{}, picture, part, whole);
    if (decoder.created) jpeg_destroy_decompress(&decoder.info);
    return result;
}

QSize JpegHeaderSize(const QByteArray& head) {
    Decoder decoder{};
    QSize size;
    // A header cut short ends the read with an error, not with a size.
    const auto* data = reinterpret_cast<const unsigned char*>(head.constData());
    if (ReadHeader(&decoder, data, static_cast<unsigned long>(head.size())) == 0) {
        size = QSize(static_cast<int>(qMin<JDIMENSION>(decoder.info.image_width, INT_MAX)),
                     static_cast<int>(qMin<JDIMENSION>(decoder.info.image_height, INT_MAX)));
    }
    if (decoder.created) jpeg_destroy_decompress(&decoder.info);
    return size;
}

int DecodeJpegPictureAround(const QByteArray& bytes, int gapFrom, int gapRows, QImage& picture, QSize& whole) {
    Decoder decoder{};
    QRect part;
    const RowGap gap{std::max(gapFrom, 0), std::max(gapRows, 0)};
    const int result = Decode(decoder, bytes, QRect(), gap, picture, part, whole);
    if (decoder.created) jpeg_destroy_decompress(&decoder.info);
    return result;
}

}  // namespace skin
