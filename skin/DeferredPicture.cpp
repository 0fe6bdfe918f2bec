#include "DeferredPicture.h"

#include "SkinPictures.h"

#include <algorithm>
#include <utility>

namespace skin {

DeferredPicture::DeferredPicture(QString path, qreal ratio) : path_(std::move(path)), ratio_(ratio) {}

DeferredPicture::~DeferredPicture() = default;

std::shared_ptr<DeferredPicture> DeferredPicture::Named(const QString& folder, const QString& name, qreal ratio) {
    if (name.isEmpty()) return nullptr;
    return std::make_shared<DeferredPicture>(folder + name, ratio);
}

void DeferredPicture::Resolve() {
    if (resolved_) return;
    resolved_ = true;
    // Each cut-out lets go of this picture as it is cut; the list is taken first.
    const std::vector<CutOut*> waiting = std::move(waiting_);
    waiting_.clear();
    // Only the part that holds every look is decoded; a whole picture (a background) or one at twice
    // the density (whose twin is chosen by its size) is decoded whole.
    QRect looks;
    bool whole = ratio_ > 1.0;
    for (const CutOut* cut : waiting) {
        whole = whole || cut->whole_;
        looks = looks.united(cut->rect_);
    }
    QImage decoded;
    QRect part;
    QSize pageSize;
    if (whole) {
        LoadPictureFile(path_, decoded, nullptr, ratio_);
        part = decoded.rect();
        pageSize = decoded.size();
    } else if (!looks.isEmpty()) {
        LoadPicturePart(path_, looks, decoded, part, pageSize);
    }
    for (CutOut* cut : waiting) cut->TakeFrom(decoded, part.topLeft(), pageSize);
}

void DeferredPicture::Register(CutOut* cut) { waiting_.push_back(cut); }

void DeferredPicture::Unregister(CutOut* cut) { waiting_.erase(std::remove(waiting_.begin(), waiting_.end(), cut), waiting_.end()); }

CutOut::~CutOut() { Detach(); }

void CutOut::Cut(const QImage* source, const QRect& rect) {
    Detach();
    whole_ = false;
    CutPicture(picture_, source, rect);
    if (forDrawing_ && !picture_.isNull()) picture_.convertTo(QImage::Format_ARGB32_Premultiplied);
}

namespace {

// Whether a look drawn from `format` needs no conversion: an opaque picture, or one already premultiplied,
// blends as it is; a look drawn rarely is drawn from straight alpha as well.
bool DrawnAsItIs(QImage::Format format, bool forDrawing) {
    switch (format) {
        case QImage::Format_RGB32:
        case QImage::Format_ARGB32_Premultiplied: return true;
        case QImage::Format_ARGB32: return !forDrawing;
        default: return false;
    }
}

}  // namespace

void CutOut::Share(const QImage& source, const QRect& rect) {
    const QRect pixels = PicturePixels(source, rect);
    if (source.isNull() || pixels.isEmpty() || !source.rect().contains(pixels) ||
        !DrawnAsItIs(source.format(), forDrawing_)) {
        Cut(&source, rect);
        return;
    }
    Detach();
    whole_ = false;
    // The look holds a copy of the picture, which shares its pixels: a later change to the picture copies
    // them first, and they are freed with the last look. The look's pixels are read-only, so drawing on
    // a copy of the look copies them too.
    auto* kept = new QImage(source);
    const uchar* first = kept->constScanLine(pixels.top()) + static_cast<qsizetype>(pixels.left()) * 4;
    picture_ = QImage(first, pixels.width(), pixels.height(), kept->bytesPerLine(), kept->format(),
                      [](void* picture) { delete static_cast<QImage*>(picture); }, kept);
    picture_.setDevicePixelRatio(source.devicePixelRatio());
}

void CutOut::Defer(const std::shared_ptr<DeferredPicture>& source, const QRect& rect) {
    Detach();
    whole_ = false;
    if (source == nullptr) return;
    if (source->IsResolved()) {
        // Already decoded and freed: this look is cut from a fresh decode of its own.
        source_ = std::make_shared<DeferredPicture>(source->path_, source->ratio_);
    } else {
        source_ = source;
    }
    rect_ = rect;
    source_->Register(this);
}

void CutOut::DeferWhole(const std::shared_ptr<DeferredPicture>& source) {
    Defer(source, QRect());
    whole_ = true;
}

const QImage& CutOut::Picture() const {
    if (source_ != nullptr) {
        // Resolving detaches every cut-out, this one included: the picture stays alive until it is done.
        const std::shared_ptr<DeferredPicture> source = source_;
        source->Resolve();
    }
    return picture_;
}

void CutOut::TakeFrom(const QImage& decoded, const QPoint& partOrigin, const QSize& pageSize) {
    source_.reset();
    if (decoded.isNull()) return;
    if (!whole_) {
        CutPicturePart(picture_, decoded, partOrigin, pageSize, rect_);
        if (forDrawing_ && !picture_.isNull()) picture_.convertTo(QImage::Format_ARGB32_Premultiplied);
    } else {
        picture_ = decoded;
        if (forDrawing_) picture_.convertTo(QImage::Format_ARGB32_Premultiplied);
    }
}

void CutOut::Detach() {
    if (source_ == nullptr) return;
    source_->Unregister(this);
    source_.reset();
}

void CutLook(CutOut& look, const QImage* decoded, const std::shared_ptr<DeferredPicture>& deferred, const QRect& rect) {
    if (deferred != nullptr) {
        look.Defer(deferred, rect);
    } else {
        look.Cut(decoded, rect);
    }
}

void CutNormalLook(CutOut& look, const SkinImageSet& pictures, const QRect& rect) {
    if (pictures.deferredNormal == nullptr && pictures.shareNormal && pictures.normal != nullptr) {
        look.Share(*pictures.normal, rect);
    } else {
        CutLook(look, pictures.normal, pictures.deferredNormal, rect);
    }
}

}  // namespace skin
