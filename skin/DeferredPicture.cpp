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

void DeferredPicture::Resolve(const std::vector<const CutOut*>& looks) {
    // Only the part that holds the looks asked for is decoded; a whole picture (a background) or one at
    // twice the density (whose twin is chosen by its size) is decoded whole.
    QRect needed;
    bool whole = ratio_ > 1.0;
    bool any = false;
    for (const CutOut* look : looks) {
        if (!IsWaiting(look)) continue;
        any = true;
        whole = whole || look->whole_;
        needed = needed.united(look->rect_);
    }
    if (!any) return;
    const auto asked = [&looks](const CutOut* look) {
        return std::find(looks.begin(), looks.end(), look) != looks.end();
    };
    if (!whole && needed.isEmpty()) {
        // Looks of no size: there is nothing to decode, and nothing to cut.
        Give(QImage(), QRect(), QSize(), asked);
        return;
    }
    QImage decoded;
    QRect part;
    QSize pageSize;
    if (!whole && LoadPicturePart(path_, needed, decoded, part, pageSize) == 0) {
        // A look whose pixels lie wholly inside the part comes out as from the whole picture.
        const QRect page(QPoint(0, 0), pageSize);
        Give(decoded, part, pageSize, [&](const CutOut* look) {
            const QRect onPage = look->rect_.intersected(page);
            return asked(look) || (!look->whole_ && !onPage.isEmpty() && part.contains(onPage));
        });
        return;
    }
    // The whole picture; one that cannot be loaded leaves every look without a picture.
    if (LoadPictureFile(path_, decoded, nullptr, ratio_) != 0) decoded = QImage();
    Give(decoded, decoded.rect(), decoded.size(), [](const CutOut*) { return true; });
}

bool DeferredPicture::IsWaiting(const CutOut* cut) const {
    return std::find(waiting_.begin(), waiting_.end(), cut) != waiting_.end();
}

template <typename Take>
void DeferredPicture::Give(const QImage& decoded, const QRect& part, const QSize& pageSize, Take take) {
    // The looks are taken off the list first: each lets go of this picture as it is cut.
    std::vector<CutOut*> taken;
    std::vector<CutOut*> kept;
    for (CutOut* look : waiting_) (take(look) ? taken : kept).push_back(look);
    waiting_ = std::move(kept);
    for (CutOut* look : taken) look->TakeFrom(decoded, part.topLeft(), pageSize);
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
    source_ = source;
    rect_ = rect;
    source_->Register(this);
}

void CutOut::DeferWhole(const std::shared_ptr<DeferredPicture>& source) {
    Defer(source, QRect());
    whole_ = true;
}

const QImage& CutOut::Picture() const {
    if (source_ != nullptr) {
        // Resolving detaches the cut-outs it cuts, this one included: the picture stays alive until it is
        // done.
        const std::shared_ptr<DeferredPicture> source = source_;
        source->Resolve({this});
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

void LookBatch::Ask(const CutOut& look) {
    if (look.IsPending()) asked_.push_back(&look);
}

void LookBatch::Resolve() {
    std::vector<const CutOut*> asked = std::move(asked_);
    asked_.clear();
    // One picture after the other: the looks asked for from it are resolved together.
    while (!asked.empty()) {
        const std::shared_ptr<DeferredPicture> source = asked.front()->source_;
        const auto others = std::stable_partition(asked.begin(), asked.end(),
                                                  [&source](const CutOut* look) { return look->source_ == source; });
        const std::vector<const CutOut*> fromSource(asked.begin(), others);
        asked.erase(asked.begin(), others);
        if (source != nullptr) source->Resolve(fromSource);
    }
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
