#include "PictureAhead.h"

#include "SkinPictures.h"

#include <chrono>
#include <system_error>
#include <utility>

namespace skin {

PictureAhead::~PictureAhead() {
    if (decoding_.valid()) decoding_.wait();
}

void PictureAhead::Start(const QString& path, qreal ratio) {
    if (decoding_.valid()) decoding_.wait();
    path_ = path;
    ratio_ = ratio;
    // The decode uses only its own objects: the path and ratio are copied into it. Where no thread can
    // be started, nothing is decoded ahead and the page decodes its picture itself.
    try {
        decoding_ = std::async(std::launch::async, [path, ratio] {
            Decoded decoded;
            decoded.error = LoadPictureFile(path, decoded.picture, &decoded.size, ratio);
            return decoded;
        });
    } catch (const std::system_error&) {
        decoding_ = {};
    }
}

bool PictureAhead::Ready() const {
    return decoding_.valid() && decoding_.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
}

bool PictureAhead::Take(const QString& path, qreal ratio, int& error, QImage& picture, QSize& size) {
    if (!decoding_.valid()) return false;
    Decoded decoded = decoding_.get();
    if (path != path_ || ratio != ratio_) return false;
    error = decoded.error;
    if (error == 0) {
        picture = std::move(decoded.picture);
        size = decoded.size;
    }
    return true;
}

}  // namespace skin
